// Objects, components with ownership, and the class references (metaclasses)
// through which the host builds forms and items by name.
#pragma once

#include <string>
#include <vector>

#define VELMKIT_API __attribute__((visibility("default")))

// Gives a class its run-time name, the name under which it is stored in a
// project descriptor and registered with the host. Place it first in the class.
#define VELMKIT_CLASS(Name_)                                   \
 public:                                                       \
  static const char* StaticClassName() { return #Name_; }      \
  std::string ClassName() const override { return #Name_; }

namespace velmkit {

class TVelmContainer;
class TVelmForm;

class VELMKIT_API TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject();
  static const char* StaticClassName() { return "TObject"; }
  virtual std::string ClassName() const { return "TObject"; }
};

// A component frees the components it owns, newest first, when it is freed,
// and leaves its owner's list when it is freed first.
class VELMKIT_API TComponent : public TObject {
  VELMKIT_CLASS(TComponent)
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  void SetName(const std::string& name) { FName = name; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int index) const;  // nullptr when out of range

  // Takes ownership of `component`, away from its previous owner.
  void InsertComponent(TComponent* component);
  // Gives up ownership without freeing.
  void RemoveComponent(TComponent* component);

 private:
  TComponent* FOwner = nullptr;
  std::string FName;
  std::vector<TComponent*> FComponents;
};

// Class reference of an item class (a descendant of TVelmContainer).
class VELMKIT_API TItemClass {
 public:
  virtual ~TItemClass();
  virtual std::string ClassName() const = 0;
  virtual TVelmContainer* Create(TComponent* owner) const = 0;
  // True when `object` is of this class or derives from it.
  virtual bool IsInstance(const TObject* object) const = 0;
};

// Class reference of a form class (a descendant of TVelmForm).
class VELMKIT_API TFormClass {
 public:
  virtual ~TFormClass();
  virtual std::string ClassName() const = 0;
  virtual TVelmForm* Create(TComponent* owner) const = 0;
  virtual bool IsInstance(const TObject* object) const = 0;
};

template <class T>
class TItemClassOf final : public TItemClass {
 public:
  std::string ClassName() const override { return T::StaticClassName(); }
  TVelmContainer* Create(TComponent* owner) const override { return new T(owner); }
  bool IsInstance(const TObject* object) const override {
    return dynamic_cast<const T*>(object) != nullptr;
  }
};

template <class T>
class TFormClassOf final : public TFormClass {
 public:
  std::string ClassName() const override { return T::StaticClassName(); }
  TVelmForm* Create(TComponent* owner) const override { return new T(owner); }
  bool IsInstance(const TObject* object) const override {
    return dynamic_cast<const T*>(object) != nullptr;
  }
};

// The one class reference of T within the calling library. Compare class
// references by ClassName() or IsInstance(), not by address: each library
// that asks has its own instance.
template <class T>
const TItemClass* ItemClassOf() {
  static const TItemClassOf<T> reference;
  return &reference;
}

template <class T>
const TFormClass* FormClassOf() {
  static const TFormClassOf<T> reference;
  return &reference;
}

}  // namespace velmkit
