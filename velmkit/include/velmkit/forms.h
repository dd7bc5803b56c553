// Forms: the project form base, the shell form that modules derive from, and
// the host's main form that owns the ribbon.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "velmkit/classes.h"

namespace velmkit {

class TPubFrame;
class TRibbon;
class TRibbonPage;

class VELMKIT_API TVelmForm : public TComponent {
  VELMKIT_CLASS(TVelmForm)
 public:
  explicit TVelmForm(TComponent* owner);
  ~TVelmForm() override;

  // The item classes this form's projects use (kept, in order).
  void RegisterClasses(const std::vector<const TItemClass*>& classes);
  const std::vector<const TItemClass*>& RegisteredClasses() const { return FClasses; }

  // Asked for each element name of the descriptor that the host does not know.
  // The base knows TPubContainer and TLocContainer (any letter case) and
  // builds them with this form as owner; nullptr otherwise.
  virtual TVelmContainer* CreateObject(const std::string& className);
  // Stores the project: the base saves the project frame (object 0) if there is one.
  virtual bool Save(TVelmContainer* container);

  // The form's objects; object 0 is the project frame once a project is open.
  // nullptr when out of range. Objects are not owned.
  TObject* GetObject(int index) const;
  int ObjectCount() const { return static_cast<int>(FObjects.size()); }
  void AddObject(TObject* object);
  void RemoveObject(TObject* object);

  // The item of that name (and class, when given) in the project, searched
  // depth first from the frame; nullptr without a frame or match.
  TVelmContainer* ObjectOfName(const std::string& name, const TItemClass* itemClass = nullptr) const;

 private:
  std::vector<const TItemClass*> FClasses;
  std::vector<TObject*> FObjects;
};

class VELMKIT_API TVelmShellForm : public TVelmForm {
  VELMKIT_CLASS(TVelmShellForm)
 public:
  explicit TVelmShellForm(TComponent* owner);
  ~TVelmShellForm() override;

  // Called by the host with its main form once the ribbon exists.
  std::function<void(TObject* mainForm)> OnBuildRibbon;

  const std::string& PublishHost() const { return FPublishHost; }
  void SetPublishHost(const std::string& value) { FPublishHost = value; }
  const std::string& PublishLogin() const { return FPublishLogin; }
  void SetPublishLogin(const std::string& value) { FPublishLogin = value; }
  const std::string& PublishPassword() const { return FPublishPassword; }
  void SetPublishPassword(const std::string& value) { FPublishPassword = value; }
  const std::string& PublicUrlBase() const { return FPublicUrlBase; }
  void SetPublicUrlBase(const std::string& value) { FPublicUrlBase = value; }
  std::int32_t PublishPort() const { return FPublishPort; }
  void SetPublishPort(std::int32_t port) { FPublishPort = port; }

  // The ribbon page the host gives this form, or nullptr.
  TRibbonPage* GetRibbonPage() const { return FRibbonPage; }
  void SetRibbonPage(TRibbonPage* page) { FRibbonPage = page; }

 private:
  std::string FPublishHost;
  std::string FPublishLogin;
  std::string FPublishPassword;
  std::string FPublicUrlBase;
  std::int32_t FPublishPort = 0;
  TRibbonPage* FRibbonPage = nullptr;
};

// The host's main form: owns a ribbon with an action manager.
class VELMKIT_API TVelmMainForm : public TComponent {
  VELMKIT_CLASS(TVelmMainForm)
 public:
  explicit TVelmMainForm(TComponent* owner);
  ~TVelmMainForm() override;
  TRibbon* Ribbon() const { return FRibbon; }

 private:
  TRibbon* FRibbon;
};

}  // namespace velmkit
