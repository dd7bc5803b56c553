// The project tree: nodes that show items, and the tree view that holds them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "velmkit/classes.h"

namespace velmkit {

class TPubFrame;
class TVelmCustomTreeView;

// Nodes belong to their tree view. Attaching an item links both ways: the
// item's tree node becomes this node. Freeing either side unlinks the other.
class VELMKIT_API TVelmTreeNode : public TObject {
  VELMKIT_CLASS(TVelmTreeNode)
 public:
  ~TVelmTreeNode() override;

  TVelmCustomTreeView* VelmTreeView() const { return FTreeView; }
  TVelmTreeNode* Parent() const { return FParent; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption) { FCaption = caption; }

  TObject* GetObj() const { return FObj; }
  // Also sets the item's tree node when `obj` is a TVelmContainer.
  void SetObj(TObject* obj);

  bool Checked() const { return FChecked; }
  void SetChecked(bool checked) { FChecked = checked; }

  int Count() const { return static_cast<int>(FChildren.size()); }
  TVelmTreeNode* Child(int index) const;  // nullptr when out of range

  // Removes the node and its subtree from the view and frees them. The node
  // must not be used afterwards.
  void Delete();

 private:
  friend class TVelmCustomTreeView;
  TVelmTreeNode(TVelmCustomTreeView* view, TVelmTreeNode* parent, std::string caption);
  void Unlink();
  TVelmCustomTreeView* FTreeView;
  TVelmTreeNode* FParent;
  std::string FCaption;
  TObject* FObj = nullptr;
  bool FChecked = false;
  std::vector<std::unique_ptr<TVelmTreeNode>> FChildren;
};

class VELMKIT_API TVelmCustomTreeView : public TComponent {
  VELMKIT_CLASS(TVelmCustomTreeView)
 public:
  explicit TVelmCustomTreeView(TComponent* owner);
  ~TVelmCustomTreeView() override;

  // Adds a node as the last child of `parent` (a top-level node for nullptr).
  // nullptr when `parent` is not a node of this view.
  TVelmTreeNode* AddChild(TVelmTreeNode* parent, const std::string& caption);
  int TopCount() const { return static_cast<int>(FRoots.size()); }
  TVelmTreeNode* Top(int index) const;  // nullptr when out of range

  TVelmTreeNode* Selected() const { return FSelected; }
  void Select(TVelmTreeNode* node);  // nullptr clears the selection
  // The item of the selected node, or nullptr.
  TObject* GetObj() const;
  // Selects the first node (depth first) that shows `item`; false when none.
  bool SelectObject(TObject* item);
  TVelmTreeNode* FindNode(const TObject* item) const;

  // The window this tree works with (the page window), tested by class:
  // VelmWin<TPageWin>() is nullptr when none of that class is attached.
  template <class T>
  T* VelmWin() const {
    return dynamic_cast<T*>(FWin);
  }
  void SetVelmWin(TObject* window) { FWin = window; }

 private:
  friend class TVelmTreeNode;
  void Forget(TVelmTreeNode* node);
  std::vector<std::unique_ptr<TVelmTreeNode>> FRoots;
  TVelmTreeNode* FSelected = nullptr;
  TObject* FWin = nullptr;
};

class VELMKIT_API TVelmTreeView : public TVelmCustomTreeView {
  VELMKIT_CLASS(TVelmTreeView)
 public:
  explicit TVelmTreeView(TComponent* owner);
  ~TVelmTreeView() override;
};

// Fills `view` with one top-level node for the frame (caption: its Name) and a
// node per container below it, captions the item names, each node attached
// to its item. Kept elements get no node.
VELMKIT_API TVelmTreeNode* BuildProjectTree(TPubFrame& frame, TVelmCustomTreeView& view);

}  // namespace velmkit
