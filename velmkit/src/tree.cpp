#include "velmkit/tree.h"

#include <algorithm>

#include "velmkit/items.h"
#include "velmkit/pubframe.h"

namespace velmkit {

TVelmTreeNode::TVelmTreeNode(TVelmCustomTreeView* view, TVelmTreeNode* parent, std::string caption)
    : FTreeView(view), FParent(parent), FCaption(std::move(caption)) {}

TVelmTreeNode::~TVelmTreeNode() {
  FChildren.clear();
  Unlink();
}

void TVelmTreeNode::Unlink() {
  SetObj(nullptr);
  if (FTreeView != nullptr) FTreeView->Forget(this);
}

void TVelmTreeNode::SetObj(TObject* obj) {
  if (auto* old = dynamic_cast<TVelmContainer*>(FObj)) {
    if (old->GetTreeNode() == this) old->SetTreeNode(nullptr);
  }
  FObj = obj;
  if (auto* item = dynamic_cast<TVelmContainer*>(obj)) item->SetTreeNode(this);
}

TVelmTreeNode* TVelmTreeNode::Child(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return FChildren[static_cast<size_t>(index)].get();
}

void TVelmTreeNode::Delete() {
  auto& siblings = FParent != nullptr ? FParent->FChildren : FTreeView->FRoots;
  auto it = std::find_if(siblings.begin(), siblings.end(),
                         [this](const std::unique_ptr<TVelmTreeNode>& node) { return node.get() == this; });
  if (it == siblings.end()) return;
  std::unique_ptr<TVelmTreeNode> self = std::move(*it);
  siblings.erase(it);
  // `self` frees this node and its subtree here.
}

TVelmCustomTreeView::TVelmCustomTreeView(TComponent* owner) : TComponent(owner) {}

TVelmCustomTreeView::~TVelmCustomTreeView() {
  FSelected = nullptr;
  FRoots.clear();
}

namespace {


template <class Visit>
TVelmTreeNode* FindDepthFirst(TVelmTreeNode* node, Visit visit) {
  if (visit(node)) return node;
  for (int i = 0; i < node->Count(); ++i) {
    if (TVelmTreeNode* found = FindDepthFirst(node->Child(i), visit)) return found;
  }
  return nullptr;
}

}  // namespace

TVelmTreeNode* TVelmCustomTreeView::AddChild(TVelmTreeNode* parent, const std::string& caption) {
  if (parent != nullptr && parent->VelmTreeView() != this) return nullptr;
  std::unique_ptr<TVelmTreeNode> node(new TVelmTreeNode(this, parent, caption));
  TVelmTreeNode* result = node.get();
  (parent != nullptr ? parent->FChildren : FRoots).push_back(std::move(node));
  return result;
}

TVelmTreeNode* TVelmCustomTreeView::Top(int index) const {
  if (index < 0 || index >= TopCount()) return nullptr;
  return FRoots[static_cast<size_t>(index)].get();
}

void TVelmCustomTreeView::Select(TVelmTreeNode* node) {
  FSelected = (node == nullptr || node->VelmTreeView() == this) ? node : FSelected;
}

TObject* TVelmCustomTreeView::GetObj() const { return FSelected != nullptr ? FSelected->GetObj() : nullptr; }

TVelmTreeNode* TVelmCustomTreeView::FindNode(const TObject* item) const {
  if (item == nullptr) return nullptr;
  for (const auto& root : FRoots) {
    TVelmTreeNode* found = FindDepthFirst(root.get(), [item](TVelmTreeNode* node) { return node->GetObj() == item; });
    if (found != nullptr) return found;
  }
  return nullptr;
}

bool TVelmCustomTreeView::SelectObject(TObject* item) {
  TVelmTreeNode* node = FindNode(item);
  if (node == nullptr) return false;
  FSelected = node;
  return true;
}

void TVelmCustomTreeView::Forget(TVelmTreeNode* node) {
  if (FSelected == node) FSelected = nullptr;
}

TVelmTreeView::TVelmTreeView(TComponent* owner) : TVelmCustomTreeView(owner) {}
TVelmTreeView::~TVelmTreeView() = default;

namespace {

void AddItemNodes(TVelmContainer& item, TVelmTreeNode* node, TVelmCustomTreeView& view) {
  for (int i = 0; i < item.Count(); ++i) {
    auto* child = dynamic_cast<TVelmContainer*>(item.At(i));
    if (child == nullptr) continue;
    TVelmTreeNode* childNode = view.AddChild(node, child->Name());
    childNode->SetObj(child);
    AddItemNodes(*child, childNode, view);
  }
}

}  // namespace

TVelmTreeNode* BuildProjectTree(TPubFrame& frame, TVelmCustomTreeView& view) {
  TVelmTreeNode* root = view.AddChild(nullptr, frame.Name());
  root->SetObj(&frame);
  AddItemNodes(frame, root, view);
  return root;
}

}  // namespace velmkit
