#include "velmkit/pubframe.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "descriptor.h"
#include "host_hooks.h"
#include "velmkit/files.h"
#include "velmkit/forms.h"
#include "velmkit/termwin.h"

namespace fs = std::filesystem;

namespace velmkit {

DescriptorError::DescriptorError(const std::string& file, int line, const std::string& message)
    : std::runtime_error(file + ":" + std::to_string(line) + ": " + message), FFile(file), FLine(line) {}

DescriptorError::~DescriptorError() = default;

namespace {

std::string NormalFolder(const std::string& folder) {
  std::error_code error;
  fs::path path = fs::absolute(fs::path(folder), error).lexically_normal();
  std::string text = path.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

XmlElement ReadDescriptor(const std::string& projectFolder, std::string& fileName) {
  fileName = NormalFolder(projectFolder) + "/" + TPubFrame::kDescriptorName;
  std::string bytes;
  if (!ReadWholeFile(fileName, bytes)) throw DescriptorError(fileName, 0, "cannot be read");
  XmlElement root = descriptor::Parse(fileName, bytes);
  if (root.name != "TPwaFrame") {
    throw DescriptorError(fileName, root.line, "root element is <" + root.name + ">, not <TPwaFrame>");
  }
  return root;
}

// The loading of one descriptor into a frame.
class Loader {
 public:
  Loader(std::string fileName, TPubFrame& frame, TVelmForm* form)
      : FFileName(std::move(fileName)), FFrame(frame), FForm(form) {}

  void Frame(const XmlElement& root) {
    std::set<std::string> seen;
    std::vector<XmlElement> extras;
    for (const XmlElement& child : root.children) {
      static const std::set<std::string> known = {"PluginModule", "PluginProduct", "Source", "BuildList",
                                                  "EditList",     "PublicList",    "PublicUrl", "list"};
      if (known.count(child.name) == 0) {
        extras.push_back(child);
        continue;
      }
      if (!seen.insert(child.name).second) Fail(child, "<" + child.name + "> appears twice");
      if (child.name == "list") {
        Items(child, FFrame);
        continue;
      }
      RequireText(child);
      if (child.name == "PluginModule") FFrame.SetPluginModule(child.text);
      if (child.name == "PluginProduct") FFrame.SetPluginProduct(child.text);
      if (child.name == "Source") FFrame.SetSource(child.text);
      if (child.name == "PublicUrl") FFrame.SetPublicUrl(child.text);
      if (child.name == "BuildList") QuotedList(child, *FFrame.BuildList());
      if (child.name == "EditList") QuotedList(child, *FFrame.EditList());
      if (child.name == "PublicList") QuotedList(child, *FFrame.PublicList());
    }
    FFrame.SetExtraElements(std::move(extras));
  }

 private:
  [[noreturn]] void Fail(const XmlElement& element, const std::string& message) const {
    throw DescriptorError(FFileName, element.line, message);
  }

  void RequireText(const XmlElement& element) const {
    if (!element.children.empty()) Fail(element, "<" + element.name + "> must hold text, not elements");
  }

  void QuotedList(const XmlElement& element, TStringList& list) const {
    try {
      list.SetQuotedText(element.text);
    } catch (const std::invalid_argument& error) {
      Fail(element, "<" + element.name + ">: " + error.what());
    }
  }

  void Items(const XmlElement& list, TVelmContainer& parent) {
    RequireElementsOnly(list);
    for (const XmlElement& element : list.children) Item(element, parent);
  }

  void RequireElementsOnly(const XmlElement& list) const {
    if (!list.text.empty() && list.text.find_first_not_of(" \t\r\n") != std::string::npos) {
      Fail(list, "<list> must hold item elements, not text");
    }
  }

  void Item(const XmlElement& element, TVelmContainer& parent) {
    // Everything is checked before an object exists, so a refusal leaves
    // nothing half-built.
    struct Fields {
      std::string name, source, path, fileName;
      std::optional<std::string> publicPath, thumbnail;
      std::vector<XmlElement> extras;
      const XmlElement* list = nullptr;
      bool hasName = false;
    } fields;
    std::set<std::string> seen;
    for (const XmlElement& child : element.children) {
      static const std::set<std::string> known = {"Name", "Source", "Path", "FileName", "PublicPath", "Thumbnail", "list"};
      if (known.count(child.name) == 0) {
        fields.extras.push_back(child);
        continue;
      }
      if (!seen.insert(child.name).second) Fail(child, "<" + child.name + "> appears twice in one item");
      if (child.name == "list") {
        fields.list = &child;
        continue;
      }
      RequireText(child);
      if (child.name == "Name") {
        fields.name = child.text;
        fields.hasName = true;
      }
      if (child.name == "Source") fields.source = child.text;
      if (child.name == "Path") fields.path = child.text;
      if (child.name == "FileName") fields.fileName = child.text;
      if (child.name == "PublicPath") fields.publicPath = child.text;
      if (child.name == "Thumbnail") fields.thumbnail = child.text;
    }

    TVelmContainer* item = nullptr;
    if (element.name == TPubContainer::StaticClassName()) {
      item = new TPubContainer(nullptr);
    } else if (element.name == TLocContainer::StaticClassName()) {
      item = new TLocContainer(nullptr);
    } else if (FForm != nullptr) {
      item = FForm->CreateObject(element.name);
    }
    if (item == nullptr) {
      parent.Add(new TKeptElement(element));
      return;
    }
    // Refusals from here on free the item through its new list.
    parent.Add(item);
    if (!fields.hasName) Fail(element, "<" + element.name + "> has no <Name>");
    const std::string& name = fields.name;
    if (name.empty() || name == "." || name == ".." || name.find_first_of("/\\") != std::string::npos) {
      Fail(element, "item name \"" + name + "\" is not a plain name");
    }
    if (!fields.fileName.empty() && ResolveProjectPath(FFrame.ProjectFolder(), fields.fileName).empty()) {
      Fail(element, "FileName \"" + fields.fileName + "\" of item \"" + name + "\" leads outside the project folder");
    }
    item->SetName(name);
    item->SetParent(&parent);
    item->SetSource(fields.source);
    item->SetPathText(fields.path);
    item->SetFileName(fields.fileName);
    item->SetPublicPath(fields.publicPath);
    item->SetThumbnail(fields.thumbnail);
    item->SetExtraElements(std::move(fields.extras));
    if (fields.list != nullptr) Items(*fields.list, *item);
  }

  std::string FFileName;
  TPubFrame& FFrame;
  TVelmForm* FForm;
};

void CollectFiles(const std::string& folder, const std::string& projectFolder, std::vector<PublishFile>& files) {
  std::vector<fs::path> entries;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) entries.push_back(entry.path());
  }
  std::sort(entries.begin(), entries.end());
  for (const fs::path& path : entries) {
    if (!IsInsideFolder(projectFolder, path.string())) {
      throw std::runtime_error("file " + path.string() + " links outside the project folder");
    }
    files.push_back({path.string(), path.string().substr(projectFolder.size() + 1)});
  }
}

void CollectPublished(const TVelmContainer& item, const std::string& projectFolder, std::vector<PublishFile>& files) {
  if (dynamic_cast<const TPubContainer*>(&item) != nullptr && !item.FileName().empty()) {
    std::string path = item.GetFileName();
    if (path.empty()) {
      throw std::runtime_error("FileName \"" + item.FileName() + "\" of item \"" + item.Name() + "\" leads outside the project folder");
    }
    if (DirectoryExists(path)) {
      CollectFiles(path, projectFolder, files);
    } else if (FileExists(path)) {
      files.push_back({path, path.substr(projectFolder.size() + 1)});
    } else {
      throw std::runtime_error("file " + path + " of item \"" + item.Name() + "\" is missing");
    }
  }
  for (int i = 0; i < item.Count(); ++i) {
    if (auto* child = dynamic_cast<const TVelmContainer*>(item.At(i))) CollectPublished(*child, projectFolder, files);
  }
}

}  // namespace

std::string TPubFrame::ReadPluginModule(const std::string& projectFolder) {
  std::string fileName;
  XmlElement root = ReadDescriptor(projectFolder, fileName);
  for (const XmlElement& child : root.children) {
    if (child.name == "PluginModule") return child.text;
  }
  throw DescriptorError(fileName, root.line, "no <PluginModule>");
}

TPubFrame* TPubFrame::Open(const std::string& projectFolder, TVelmForm* form, TComponent* owner) {
  std::string fileName;
  XmlElement root = ReadDescriptor(projectFolder, fileName);
  std::unique_ptr<TPubFrame> frame(new TPubFrame(owner, projectFolder));
  Loader(fileName, *frame, form).Frame(root);
  frame->AttachTerminals();
  if (form != nullptr) form->AddObject(frame.get());
  return frame.release();
}

TPubFrame::TPubFrame(TComponent* owner, const std::string& projectFolder)
    : TVelmContainer(owner), FProjectFolder(NormalFolder(projectFolder)) {
  SetName(fs::path(FProjectFolder).filename().string());
}

TPubFrame::~TPubFrame() {
  if (FForm != nullptr) FForm->RemoveObject(this);
}

std::string TPubFrame::DescriptorPath() const { return FProjectFolder + "/" + kDescriptorName; }

std::string TPubFrame::GetFileName() const { return FProjectFolder; }

std::string TPubFrame::GetPath() const { return FProjectFolder + "/"; }

std::string TPubFrame::Serialize() const { return descriptor::Write(*this); }

bool TPubFrame::Save(TVelmForm*) {
  std::string text;
  try {
    text = Serialize();
  } catch (const std::exception& error) {
    FLastError = DescriptorPath() + ": not saved: " + error.what();
    return false;
  }
  if (!WriteFileAtomically(DescriptorPath(), text)) {
    FLastError = DescriptorPath() + ": cannot be written";
    return false;
  }
  FLastError.clear();
  return true;
}

std::vector<PublishFile> TPubFrame::PublishedFiles(TVelmContainer* item) const {
  std::vector<PublishFile> files;
  const TVelmContainer& root = item != nullptr ? *item : static_cast<const TVelmContainer&>(*this);
  CollectPublished(root, FProjectFolder, files);
  std::vector<PublishFile> unique;
  std::set<std::string> seen;
  for (PublishFile& file : files) {
    if (seen.insert(file.relativePath).second) unique.push_back(std::move(file));
  }
  return unique;
}

bool TPubFrame::Publish(TVelmContainer* item) {
  const Publisher& publisher = hooks::PublisherHook();
  if (!publisher) {
    FLastError = "no publisher";
    return false;
  }
  std::vector<PublishFile> files;
  try {
    files = PublishedFiles(item);
  } catch (const std::exception& error) {
    FLastError = error.what();
    return false;
  }
  PublishResult result = publisher(*this, files);
  FLastError = result.ok ? "" : result.error;
  return result.ok;
}

void TPubFrame::AttachTerminals() {
  for (int i = 0; i < FBuildList.Count(); ++i) {
    if (FBuildList.Objects(i) == nullptr) FBuildList.SetObject(i, new TTermWin(this, this, FBuildList.Strings(i)));
  }
}

}  // namespace velmkit
