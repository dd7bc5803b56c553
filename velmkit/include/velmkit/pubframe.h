// The project frame: the root of a project's items, read from and written to
// the descriptor pwa.pwa in the project folder.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "velmkit/items.h"
#include "velmkit/strings.h"

namespace velmkit {

class TTermWin;

// A descriptor that cannot be read. what() is "<file>:<line>: <message>"
// (line 0 when the fault is not on a line, e.g. a missing file).
class VELMKIT_API DescriptorError : public std::runtime_error {
 public:
  DescriptorError(const std::string& file, int line, const std::string& message);
  ~DescriptorError() override;
  const std::string& File() const { return FFile; }
  int Line() const { return FLine; }

 private:
  std::string FFile;
  int FLine;
};

// A file handed to the Publisher: where it is, and where it goes relative to
// the project's public folder ('/' separators).
struct PublishFile {
  std::string absolutePath;
  std::string relativePath;
};

// Descriptor format: US-ASCII XML, first line
// <?xml version="1.0" encoding="US-ASCII"?>, CR LF line ends, none after the
// closing root tag, one tab per level, no attributes, empty values as element
// pairs. Root TPwaFrame with PluginModule, PluginProduct, Source, BuildList,
// EditList, PublicList, PublicUrl (only once it is set), unknown elements
// as they were read, list. Items are
// elements named by their class, with Name, Source, Path, FileName,
// PublicPath and Thumbnail when present, unknown elements, then list when the
// item has children. Non-ASCII text is written as character references.
class VELMKIT_API TPubFrame : public TVelmContainer {
  VELMKIT_CLASS(TPubFrame)
 public:
  static constexpr const char* kDescriptorName = "pwa.pwa";

  // The descriptor's PluginModule (e.g. "visagor.dll"), read before any module
  // is loaded. Throws DescriptorError.
  static std::string ReadPluginModule(const std::string& projectFolder);

  // Reads <projectFolder>/pwa.pwa and builds its items. Elements named
  // TPubContainer or TLocContainer become those; for any other element name
  // `form`'s CreateObject is asked, and an element it refuses is kept as a
  // TKeptElement. Hostile FileNames (absolute, leading outside the folder) and
  // item names that are empty, "." or "..", or contain a slash or backslash,
  // are refused. Attaches a terminal window to each BuildList entry and makes
  // the frame `form`'s object 0 (when `form` is given). Throws DescriptorError
  // and builds nothing then.
  static TPubFrame* Open(const std::string& projectFolder, TVelmForm* form, TComponent* owner);

  // An empty frame of a project folder; the frame's Name is the folder's last
  // component.
  TPubFrame(TComponent* owner, const std::string& projectFolder);
  ~TPubFrame() override;

  const std::string& ProjectFolder() const { return FProjectFolder; }
  std::string DescriptorPath() const;
  std::string GetFileName() const override;  // the project folder
  std::string GetPath() const override;      // the project folder and '/'
  TPubFrame* Frame() const override { return const_cast<TPubFrame*>(this); }

  // Writes the descriptor to a temporary file beside it and renames it into
  // place. False (and LastError()) when it cannot be written; the old file is
  // then untouched. `form` is the form that asks; it may be nullptr.
  bool Save(TVelmForm* form);
  // The descriptor text that Save writes. Throws std::runtime_error when an
  // item holds text that US-ASCII XML cannot carry (invalid UTF-8, control
  // characters).
  std::string Serialize() const;

  // Uploads through the host's Publisher: every TPubContainer below `item`,
  // `item` included (the whole project for nullptr); a folder item brings the
  // files inside it. False when no Publisher is set, a file is missing, or the
  // Publisher fails (LastError() tells why).
  bool Publish(TVelmContainer* item = nullptr);
  // The files that Publish(item) would hand over. Throws std::runtime_error
  // naming a missing file.
  std::vector<PublishFile> PublishedFiles(TVelmContainer* item = nullptr) const;

  const std::string& LastError() const { return FLastError; }

  const std::string& PublicUrl() const { return FPublicUrl; }
  void SetPublicUrl(const std::string& url) { FPublicUrl = url; }
  const std::string& PluginModule() const { return FPluginModule; }
  void SetPluginModule(const std::string& value) { FPluginModule = value; }
  const std::string& PluginProduct() const { return FPluginProduct; }
  void SetPluginProduct(const std::string& value) { FPluginProduct = value; }

  // Entry names; each BuildList entry's object is its TTermWin.
  TStringList* BuildList() { return &FBuildList; }
  const TStringList* BuildList() const { return &FBuildList; }
  TStringList* EditList() { return &FEditList; }
  const TStringList* EditList() const { return &FEditList; }
  TStringList* PublicList() { return &FPublicList; }
  const TStringList* PublicList() const { return &FPublicList; }
  // Gives every BuildList entry without one a terminal window owned by the frame.
  void AttachTerminals();

  // The form whose object 0 this frame is, or nullptr.
  TVelmForm* Form() const { return FForm; }

 private:
  friend class TVelmForm;
  std::string FProjectFolder;
  std::string FPublicUrl;
  std::string FPluginModule;
  std::string FPluginProduct;
  TStringList FBuildList;
  TStringList FEditList;
  TStringList FPublicList;
  TVelmForm* FForm = nullptr;
  mutable std::string FLastError;
};

}  // namespace velmkit
