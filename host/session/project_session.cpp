#include "project_session.h"

#include <sstream>

#include "module_loader.h"

namespace velmhost {

namespace fs = std::filesystem;

namespace {

std::string ModuleOfDescriptor(const fs::path& folder) {
  try {
    return velmkit::TPubFrame::ReadPluginModule(folder.string());
  } catch (const velmkit::DescriptorError& error) {
    throw CommandError(error.what());
  }
}

}  // namespace

ProjectSession::ProjectSession(const fs::path& folder, const std::vector<fs::path>& moduleFolders,
                               const std::optional<std::string>& kind, const PublishSettings& publishing,
                               const std::string& publicUrlBase) {
  if (!fs::is_regular_file(folder / velmkit::TPubFrame::kDescriptorName)) {
    throw CommandError(folder.string() + ": not a project folder (no " + velmkit::TPubFrame::kDescriptorName + ")");
  }
  std::string wanted = kind.value_or("");
  if (wanted.empty()) wanted = ModuleOfDescriptor(folder);
  if (wanted.empty()) {
    throw CommandError((folder / velmkit::TPubFrame::kDescriptorName).string() + ": names no module; give --kind KIND");
  }
  module_ = FindModule(moduleFolders, wanted);
  const velmkit::TFormClass* formClass = LoadModuleLibrary(module_.file);

  root_ = std::make_unique<velmkit::TComponent>(nullptr);
  mainForm_ = new velmkit::TVelmMainForm(root_.get());
  tree_ = new velmkit::TVelmTreeView(root_.get());
  pages_ = new velmkit::TPageWin(root_.get());
  tree_->SetVelmWin(pages_);
  velmkit::TVelmForm* form = formClass->Create(root_.get());
  form_ = dynamic_cast<velmkit::TVelmShellForm*>(form);
  if (form_ == nullptr) {
    delete form;
    throw CommandError(module_.file.string() + ": its form class " + formClass->ClassName() + " is no shell form");
  }
  form_->SetPublishHost(publishing.host);
  form_->SetPublishPort(publishing.port);
  form_->SetPublishLogin(publishing.login);
  form_->SetPublishPassword(publishing.password);
  form_->SetPublicUrlBase(publicUrlBase);

  try {
    frame_ = velmkit::TPubFrame::Open(fs::absolute(folder).lexically_normal().string(), form_, root_.get());
  } catch (const velmkit::DescriptorError& error) {
    throw CommandError(error.what());
  }
  velmkit::BuildProjectTree(*frame_, *tree_);
  // The host shows a page per build entry, captioned with the entry name.
  for (int i = 0; i < frame_->BuildList()->Count(); ++i) pages_->AddPage(frame_->BuildList()->Strings(i));

  velmkit::TRibbon* ribbon = mainForm_->Ribbon();
  if (ribbon != nullptr) form_->SetRibbonPage(ribbon->AddPage(module_.productName.empty() ? module_.kind : module_.productName));
  if (form_->OnBuildRibbon) form_->OnBuildRibbon(mainForm_);
}

ProjectSession::~ProjectSession() = default;

velmkit::TVelmContainer& ProjectSession::FindItem(const std::string& path) const {
  std::stringstream parts(path);
  std::string part;
  velmkit::TVelmContainer* item = nullptr;
  while (std::getline(parts, part, '/')) {
    if (part.empty()) continue;
    if (item == nullptr) {
      item = frame_->ObjectOfName(part);
    } else {
      velmkit::TVelmContainer* child = nullptr;
      for (int i = 0; i < item->Count() && child == nullptr; ++i) {
        auto* candidate = dynamic_cast<velmkit::TVelmContainer*>(item->At(i));
        if (candidate != nullptr && candidate->Name() == part) child = candidate;
      }
      item = child;
    }
    if (item == nullptr) throw CommandError("no item '" + path + "' in the project");
  }
  if (item == nullptr) throw CommandError("no item '" + path + "' in the project");
  return *item;
}

void ProjectSession::Select(velmkit::TVelmContainer& item) {
  if (!tree_->SelectObject(&item)) throw CommandError("item '" + item.Name() + "' is not shown in the project tree");
}

velmkit::TActionClientItem* ProjectSession::RibbonItem(const std::string& caption) const {
  return velmkit::FindRibbonItem(mainForm_->Ribbon(), caption);
}

void ProjectSession::Click(const std::string& caption) {
  velmkit::Application().UpdateActions(mainForm_);
  velmkit::TActionClientItem* item = RibbonItem(caption);
  const std::string shown = velmkit::StripHotkey(caption);
  if (item == nullptr || item->Action() == nullptr) {
    throw CommandError("the " + module_.kind + " module has no \"" + shown + "\" command");
  }
  if (!item->Action()->Enabled()) throw CommandError("\"" + shown + "\" is not available for the selected item");
  item->Click();
}

std::string ItemLocation(const velmkit::TVelmContainer& item) {
  const bool hostClass = dynamic_cast<const velmkit::TPubContainer*>(&item) != nullptr ||
                         dynamic_cast<const velmkit::TLocContainer*>(&item) != nullptr ||
                         dynamic_cast<const velmkit::TPubFrame*>(&item) != nullptr;
  if (hostClass) return item.GetFileName();
  std::string path = item.GetPath();
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace velmhost
