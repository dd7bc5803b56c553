#include "velmkit/items.h"

#include <algorithm>

#include "velmkit/pubframe.h"
#include "velmkit/tree.h"

namespace velmkit {

TKeptElement::~TKeptElement() = default;

TVelmList::TVelmList(TComponent* owner) : TComponent(owner) {}

TVelmList::~TVelmList() {
  // Children go now, while this list is still whole: their destructors look
  // back at the list that holds them.
  std::vector<TObject*> items;
  items.swap(FItems);
  for (TObject* item : items) {
    if (auto* container = dynamic_cast<TVelmContainer*>(item)) container->FHoldingList = nullptr;
    auto* component = dynamic_cast<TComponent*>(item);
    if (component == nullptr || component->Owner() == this) delete item;
  }
}

TObject* TVelmList::At(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return FItems[static_cast<size_t>(index)];
}

int TVelmList::IndexOf(const TObject* item) const {
  auto it = std::find(FItems.begin(), FItems.end(), item);
  return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TVelmList::Add(TObject* item) {
  if (item == nullptr || item == this || IndexOf(item) >= 0) return;
  if (auto* container = dynamic_cast<TVelmContainer*>(item)) {
    if (container->FHoldingList != nullptr) container->FHoldingList->Forget(container);
    container->FHoldingList = this;
  }
  FItems.push_back(item);
  if (auto* component = dynamic_cast<TComponent*>(item)) InsertComponent(component);
}

bool TVelmList::Remove(TObject* item) {
  if (IndexOf(item) < 0) return false;
  Forget(item);
  if (FOwnsObjects) {
    auto* component = dynamic_cast<TComponent*>(item);
    if (component == nullptr || component->Owner() == this) delete item;
  }
  return true;
}

void TVelmList::Forget(TObject* item) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), item), FItems.end());
  if (auto* container = dynamic_cast<TVelmContainer*>(item)) {
    if (container->FHoldingList == this) container->FHoldingList = nullptr;
  }
}

TVelmContainer::TVelmContainer(TComponent* owner) : TVelmList(owner) {}

TVelmContainer::~TVelmContainer() {
  if (FHoldingList != nullptr) FHoldingList->Forget(this);
  if (FTreeNode != nullptr && FTreeNode->GetObj() == this) FTreeNode->SetObj(nullptr);
}

TPubFrame* TVelmContainer::Frame() const {
  // Bounded so that a parent cycle made by a caller cannot hang the host.
  const TVelmContainer* item = GetParent();
  for (int depth = 0; item != nullptr && depth < 10000; ++depth) {
    if (auto* frame = dynamic_cast<const TPubFrame*>(item)) return const_cast<TPubFrame*>(frame);
    item = item->GetParent();
  }
  return nullptr;
}

std::string TVelmContainer::GetFileName() const {
  TPubFrame* frame = Frame();
  if (frame == nullptr || FFileName.empty()) return "";
  std::string path = ResolveProjectPath(frame->ProjectFolder(), FFileName);
  return !path.empty() && IsInsideFolder(frame->ProjectFolder(), path) ? path : "";
}

std::string TVelmContainer::GetPath() const {
  std::string path = GetFileName();
  if (path.empty() || path.back() == '/') return path;
  return path + '/';
}

TVelmContainer* TVelmContainer::ObjectOfName(const std::string& name, const TItemClass* itemClass) const {
  for (int i = 0; i < Count(); ++i) {
    auto* child = dynamic_cast<TVelmContainer*>(At(i));
    if (child == nullptr) continue;
    if (child->Name() == name && (itemClass == nullptr || itemClass->IsInstance(child))) return child;
    if (TVelmContainer* found = child->ObjectOfName(name, itemClass)) return found;
  }
  return nullptr;
}

TPubContainer::TPubContainer(TComponent* owner) : TVelmContainer(owner) {}
TPubContainer::~TPubContainer() = default;

TLocContainer::TLocContainer(TComponent* owner) : TVelmContainer(owner) {}
TLocContainer::~TLocContainer() = default;

}  // namespace velmkit
