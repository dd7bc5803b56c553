// Project items: the child list, the container (one file or folder of the
// project) and the two item classes that the host itself knows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "velmkit/classes.h"

namespace velmkit {

class TPubFrame;
class TVelmTreeNode;

// An element of the descriptor kept as it was read: name, text, children.
struct XmlElement {
  std::string name;
  std::string text;
  std::vector<XmlElement> children;
  int line = 0;
};

// A descriptor item whose element name no class claimed. It keeps its place
// in its list so that saving the project writes it back unchanged.
class VELMKIT_API TKeptElement : public TObject {
  VELMKIT_CLASS(TKeptElement)
 public:
  explicit TKeptElement(XmlElement element) : FElement(std::move(element)) {}
  ~TKeptElement() override;
  const XmlElement& Element() const { return FElement; }

 private:
  XmlElement FElement;
};

// Ordered children. A component added to the list becomes owned by the list
// (its previous owner lets it go), so it is freed with the list at the latest.
// OwnsObjects decides only whether Remove frees it at once.
class VELMKIT_API TVelmList : public TComponent {
  VELMKIT_CLASS(TVelmList)
 public:
  explicit TVelmList(TComponent* owner);
  ~TVelmList() override;

  int Count() const { return static_cast<int>(FItems.size()); }
  TObject* At(int index) const;  // nullptr when out of range
  int IndexOf(const TObject* item) const;  // -1 when absent
  void Add(TObject* item);  // ignores nullptr and an item already in the list
  // Takes the item out of the list; frees it when OwnsObjects is set, otherwise
  // it stays alive (owned by this list as a component) until the list goes.
  bool Remove(TObject* item);
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool owns) { FOwnsObjects = owns; }

 private:
  friend class TVelmContainer;
  // Drops `item` from the list without freeing it.
  void Forget(TObject* item);
  std::vector<TObject*> FItems;
  bool FOwnsObjects = true;
};

// One file or folder of the project, named in the project tree.
class VELMKIT_API TVelmContainer : public TVelmList {
  VELMKIT_CLASS(TVelmContainer)
 public:
  explicit TVelmContainer(TComponent* owner);
  ~TVelmContainer() override;

  TVelmContainer* GetParent() const { return FParent; }
  void SetParent(TVelmContainer* parent) { FParent = parent; }
  TVelmTreeNode* GetTreeNode() const { return FTreeNode; }
  void SetTreeNode(TVelmTreeNode* node) { FTreeNode = node; }

  // As stored in the descriptor: relative to the project folder, backslashes.
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& fileName) { FFileName = fileName; }
  // Absolute path of the item's file or folder ('/' separators, no trailing
  // '/'); empty when the item has no FileName, is not inside a project, or its
  // FileName would lead outside the project folder, by its text or through a
  // symbolic link.
  virtual std::string GetFileName() const;
  // The item's folder path, ending in '/': GetFileName() followed by '/'; empty
  // when GetFileName() is. Item classes of modules override it.
  virtual std::string GetPath() const;

  // First item of that name below this one (depth first, in list order), of
  // class `itemClass` when one is given. Exact, case-sensitive name match.
  TVelmContainer* ObjectOfName(const std::string& name, const TItemClass* itemClass = nullptr) const;
  // The project frame this item hangs under (through GetParent), or nullptr.
  // A frame is its own frame.
  virtual TPubFrame* Frame() const;

  // Further descriptor fields, written back as they were read.
  const std::string& Source() const { return FSource; }
  void SetSource(const std::string& value) { FSource = value; }
  const std::string& PathText() const { return FPathText; }  // the <Path> element
  void SetPathText(const std::string& value) { FPathText = value; }
  const std::optional<std::string>& PublicPath() const { return FPublicPath; }
  void SetPublicPath(std::optional<std::string> value) { FPublicPath = std::move(value); }
  const std::optional<std::string>& Thumbnail() const { return FThumbnail; }
  void SetThumbnail(std::optional<std::string> value) { FThumbnail = std::move(value); }
  // Child elements of the item that velmkit does not know, in their order.
  const std::vector<XmlElement>& ExtraElements() const { return FExtraElements; }
  void SetExtraElements(std::vector<XmlElement> elements) { FExtraElements = std::move(elements); }

 private:
  friend class TVelmList;
  TVelmList* FHoldingList = nullptr;  // the list this item is a child of
  TVelmContainer* FParent = nullptr;
  TVelmTreeNode* FTreeNode = nullptr;
  std::string FFileName;
  std::string FSource;
  std::string FPathText;
  std::optional<std::string> FPublicPath;
  std::optional<std::string> FThumbnail;
  std::vector<XmlElement> FExtraElements;
};

// A file that belongs to the published web app.
class VELMKIT_API TPubContainer : public TVelmContainer {
  VELMKIT_CLASS(TPubContainer)
 public:
  explicit TPubContainer(TComponent* owner);
  ~TPubContainer() override;
};

// A file or folder that stays local.
class VELMKIT_API TLocContainer : public TVelmContainer {
  VELMKIT_CLASS(TLocContainer)
 public:
  explicit TLocContainer(TComponent* owner);
  ~TLocContainer() override;
};

// Resolves a descriptor FileName (backslashes or slashes) against the project
// folder. Empty result for an absolute name, a drive letter, or one that
// climbs out of the folder with "..". An empty FileName gives the folder.
VELMKIT_API std::string ResolveProjectPath(const std::string& projectFolder, const std::string& fileName);
// True when `path`, with every symbolic link on the way followed, is
// `folder` itself or lies inside it. Parts of `path` that do not exist yet
// are taken as written.
VELMKIT_API bool IsInsideFolder(const std::string& folder, const std::string& path);

}  // namespace velmkit
