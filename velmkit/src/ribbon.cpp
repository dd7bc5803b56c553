#include "velmkit/ribbon.h"

#include "velmkit/strings.h"

namespace velmkit {

TActionClientItem::TActionClientItem()
    : FButtonProperties(std::make_unique<TButtonProperties>()), FItems(std::make_unique<TActionClients>()) {}

TActionClientItem::~TActionClientItem() = default;

void TActionClientItem::SetCommandStyle(TCommandStyle style) {
  if (style == FCommandStyle) return;
  FCommandStyle = style;
  FButtonProperties = style == TCommandStyle::csButton ? std::make_unique<TButtonProperties>() : nullptr;
}

bool TActionClientItem::Click() { return FAction != nullptr && FAction->Execute(); }

TActionClients::TActionClients() = default;
TActionClients::~TActionClients() = default;

TActionClientItem* TActionClients::Add() {
  FItems.push_back(std::make_unique<TActionClientItem>());
  return FItems.back().get();
}

TActionClientItem* TActionClients::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return FItems[static_cast<size_t>(index)].get();
}

TCustomActionBar::TCustomActionBar(TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<TActionClients>()) {}
TCustomActionBar::~TCustomActionBar() = default;

TRibbonGroup::TRibbonGroup(TComponent* owner) : TCustomActionBar(owner) {}
TRibbonGroup::~TRibbonGroup() = default;

TActionBars::TActionBars() = default;
TActionBars::~TActionBars() = default;

TActionBarItem* TActionBars::Add() {
  FItems.push_back(std::make_unique<TActionBarItem>());
  return FItems.back().get();
}

TActionBarItem* TActionBars::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return FItems[static_cast<size_t>(index)].get();
}

TActionManager::TActionManager(TComponent* owner)
    : TComponent(owner), FActionBars(std::make_unique<TActionBars>()) {}
TActionManager::~TActionManager() = default;

void TActionManager::SetActionBars(std::unique_ptr<TActionBars> bars) { FActionBars = std::move(bars); }

TRibbonPage::TRibbonPage(TComponent* owner) : TWinControl(owner) {}
TRibbonPage::~TRibbonPage() = default;

TRibbon::TRibbon(TComponent* owner) : TWinControl(owner) {}
TRibbon::~TRibbon() = default;

TRibbonPage* TRibbon::AddPage(const std::string& caption) {
  auto* page = new TRibbonPage(this);
  page->SetCaption(caption);
  page->SetRibbon(this);
  page->SetParent(this);
  FPages.push_back(page);
  return page;
}

TRibbonPage* TRibbon::Pages(int index) const {
  if (index < 0 || index >= PageCount()) return nullptr;
  return FPages[static_cast<size_t>(index)];
}

namespace {

TActionClientItem* FindIn(TActionClients* items, const std::string& caption) {
  if (items == nullptr) return nullptr;
  for (int i = 0; i < items->Count(); ++i) {
    TActionClientItem* item = items->Items(i);
    if (item->Caption() == caption || StripHotkey(item->Caption()) == caption) return item;
    if (TActionClientItem* found = FindIn(item->Items(), caption)) return found;
  }
  return nullptr;
}

TActionBars* BarsOf(TRibbon* ribbon) {
  if (ribbon == nullptr || ribbon->ActionManager() == nullptr) return nullptr;
  return ribbon->ActionManager()->ActionBars();
}

}  // namespace

TActionClientItem* FindRibbonItem(TRibbon* ribbon, const std::string& caption) {
  TActionBars* bars = BarsOf(ribbon);
  if (bars == nullptr) return nullptr;
  for (int i = 0; i < bars->Count(); ++i) {
    TCustomActionBar* bar = bars->Items(i)->ActionBar();
    if (bar == nullptr) continue;
    if (TActionClientItem* found = FindIn(bar->Items(), caption)) return found;
  }
  return nullptr;
}

std::vector<TRibbonGroup*> RibbonGroups(TRibbon* ribbon) {
  std::vector<TRibbonGroup*> groups;
  TActionBars* bars = BarsOf(ribbon);
  if (bars == nullptr) return groups;
  for (int i = 0; i < bars->Count(); ++i) {
    if (auto* group = dynamic_cast<TRibbonGroup*>(bars->Items(i)->ActionBar())) groups.push_back(group);
  }
  return groups;
}

}  // namespace velmkit
