// Ribbon pieces: page, ribbon, action manager with its action bars, ribbon
// groups and their action-client items.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "velmkit/actions.h"
#include "velmkit/controls.h"

namespace velmkit {

class TActionClients;
class TActionManager;
class TRibbon;

enum class TCommandStyle { csButton, csMenu, csSeparator, csText, csGallery, csComboBox, csCheckBox, csRadioButton, csControl, csCustom };
enum class TButtonSize { bsSmall, bsLarge };
enum class TButtonType { btNone, btDropDown, btSplit, btGallery };
enum class TGroupPosition { gpNone, gpStart, gpMiddle, gpEnd, gpSingle };
enum class TGroupAlign { gaHorizontal, gaVertical };

class VELMKIT_API TButtonProperties {
 public:
  TButtonSize ButtonSize = TButtonSize::bsSmall;
  TButtonType ButtonType = TButtonType::btNone;
  TGroupPosition GroupPosition = TGroupPosition::gpNone;
};

// An entry of a group or of another item; owned by its collection.
class VELMKIT_API TActionClientItem : public TObject {
  VELMKIT_CLASS(TActionClientItem)
 public:
  TActionClientItem();
  ~TActionClientItem() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }
  // Not owned: actions belong to their component owners.
  TAction* Action() const { return FAction; }
  void SetAction(TAction* action) { FAction = action; }
  TCommandStyle CommandStyle() const { return FCommandStyle; }
  // Button style brings button properties; other styles have none.
  void SetCommandStyle(TCommandStyle style);
  TButtonProperties* CommandProperties() const { return FButtonProperties.get(); }
  TActionClients* Items() const { return FItems.get(); }

  // What a click does: executes the action. False when there is none or it
  // did not run (disabled, unbound).
  bool Click();

 private:
  std::string FCaption;
  TAction* FAction = nullptr;
  TCommandStyle FCommandStyle = TCommandStyle::csButton;
  std::unique_ptr<TButtonProperties> FButtonProperties;
  std::unique_ptr<TActionClients> FItems;
};

class VELMKIT_API TActionClients {
 public:
  TActionClients();
  ~TActionClients();
  TActionClientItem* Add();
  int Count() const { return static_cast<int>(FItems.size()); }
  TActionClientItem* Items(int index) const;  // nullptr when out of range

 private:
  std::vector<std::unique_ptr<TActionClientItem>> FItems;
};

// A bar of action-client items (a ribbon group is one).
class VELMKIT_API TCustomActionBar : public TWinControl {
  VELMKIT_CLASS(TCustomActionBar)
 public:
  explicit TCustomActionBar(TComponent* owner);
  ~TCustomActionBar() override;
  TActionClients* Items() const { return FItems.get(); }

 private:
  std::unique_ptr<TActionClients> FItems;
};

class VELMKIT_API TRibbonGroup : public TCustomActionBar {
  VELMKIT_CLASS(TRibbonGroup)
 public:
  explicit TRibbonGroup(TComponent* owner);
  ~TRibbonGroup() override;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int index) { FGroupIndex = index; }
  const std::string& KeyTip() const { return FKeyTip; }
  void SetKeyTip(const std::string& keyTip) { FKeyTip = keyTip; }
  TGroupAlign GroupAlign() const { return FGroupAlign; }
  void SetGroupAlign(TGroupAlign align) { FGroupAlign = align; }

 private:
  std::string FCaption;
  int FGroupIndex = 0;
  std::string FKeyTip;
  TGroupAlign FGroupAlign = TGroupAlign::gaHorizontal;
};

// An entry of the action manager's action bars; the bar is not owned.
class VELMKIT_API TActionBarItem {
 public:
  TCustomActionBar* ActionBar() const { return FActionBar; }
  void SetActionBar(TCustomActionBar* bar) { FActionBar = bar; }

 private:
  TCustomActionBar* FActionBar = nullptr;
};

class VELMKIT_API TActionBars {
 public:
  TActionBars();
  ~TActionBars();
  TActionBarItem* Add();
  int Count() const { return static_cast<int>(FItems.size()); }
  TActionBarItem* Items(int index) const;  // nullptr when out of range

 private:
  std::vector<std::unique_ptr<TActionBarItem>> FItems;
};

class VELMKIT_API TActionManager : public TComponent {
  VELMKIT_CLASS(TActionManager)
 public:
  explicit TActionManager(TComponent* owner);
  ~TActionManager() override;
  TActionBars* ActionBars() const { return FActionBars.get(); }
  // Replaces the collection; nullptr leaves the manager without one.
  void SetActionBars(std::unique_ptr<TActionBars> bars);

 private:
  std::unique_ptr<TActionBars> FActionBars;
};

class VELMKIT_API TRibbonPage : public TWinControl {
  VELMKIT_CLASS(TRibbonPage)
 public:
  explicit TRibbonPage(TComponent* owner);
  ~TRibbonPage() override;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }
  TRibbon* Ribbon() const { return FRibbon; }
  void SetRibbon(TRibbon* ribbon) { FRibbon = ribbon; }

 private:
  std::string FCaption;
  TRibbon* FRibbon = nullptr;
};

class VELMKIT_API TRibbon : public TWinControl {
  VELMKIT_CLASS(TRibbon)
 public:
  explicit TRibbon(TComponent* owner);
  ~TRibbon() override;
  TActionManager* ActionManager() const { return FActionManager; }
  void SetActionManager(TActionManager* manager) { FActionManager = manager; }
  // A new page owned by and belonging to this ribbon.
  TRibbonPage* AddPage(const std::string& caption);
  int PageCount() const { return static_cast<int>(FPages.size()); }
  TRibbonPage* Pages(int index) const;  // nullptr when out of range

 private:
  TActionManager* FActionManager = nullptr;
  std::vector<TRibbonPage*> FPages;
};

// First item, depth first through all action bars of the ribbon's action
// manager, whose caption equals `caption` as written or without its accelerator
// marks ("Create Class" finds "Create &Class"). nullptr when none.
VELMKIT_API TActionClientItem* FindRibbonItem(TRibbon* ribbon, const std::string& caption);
// Every action bar of the ribbon that is a ribbon group, in order.
VELMKIT_API std::vector<TRibbonGroup*> RibbonGroups(TRibbon* ribbon);

}  // namespace velmkit
