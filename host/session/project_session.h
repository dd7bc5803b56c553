// An open project as the desktop host holds it: the module's form, the
// project frame read from pwa.pwa, the project tree, a page window and the
// main form's ribbon that the module filled.
#pragma once

#include <velmkit/velmkit.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "module_catalog.h"
#include "publish_target.h"

namespace velmhost {

class ProjectSession {
 public:
  // Opens the project in `folder` with the module its descriptor names, or
  // with `kind` when given. Throws CommandError for a folder without a
  // descriptor, a descriptor that cannot be read (file and line), or a module
  // that cannot be found or loaded.
  ProjectSession(const std::filesystem::path& folder, const std::vector<std::filesystem::path>& moduleFolders,
                 const std::optional<std::string>& kind, const PublishSettings& publishing,
                 const std::string& publicUrlBase);
  ~ProjectSession();
  ProjectSession(const ProjectSession&) = delete;
  ProjectSession& operator=(const ProjectSession&) = delete;

  const ModuleInfo& Module() const { return module_; }
  velmkit::TPubFrame& Frame() const { return *frame_; }
  velmkit::TVelmShellForm& Form() const { return *form_; }
  velmkit::TVelmTreeView& Tree() const { return *tree_; }
  velmkit::TVelmMainForm& MainForm() const { return *mainForm_; }

  // An item by its names from any item down: "train/cats" is the child
  // "cats" of the first item named "train" (depth first). Throws
  // CommandError when there is none.
  velmkit::TVelmContainer& FindItem(const std::string& path) const;
  // Selects the item's node in the tree, as a click in the tree would.
  void Select(velmkit::TVelmContainer& item);
  // The ribbon item of that caption ("&" marks may be left out), or nullptr.
  velmkit::TActionClientItem* RibbonItem(const std::string& caption) const;
  // Runs the idle-time action update, then clicks the ribbon item. Throws
  // CommandError when the item is missing or its action is disabled.
  void Click(const std::string& caption);

 private:
  ModuleInfo module_;
  std::unique_ptr<velmkit::TComponent> root_;  // owns everything below
  velmkit::TVelmMainForm* mainForm_ = nullptr;
  velmkit::TVelmTreeView* tree_ = nullptr;
  velmkit::TPageWin* pages_ = nullptr;
  velmkit::TVelmShellForm* form_ = nullptr;
  velmkit::TPubFrame* frame_ = nullptr;
};

// The item's file or folder as the module sees it: a module class item by
// its Path, others by their FileName. Empty when it has none.
std::string ItemLocation(const velmkit::TVelmContainer& item);

}  // namespace velmhost
