#include "template_files.h"

#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace velmtools {

namespace fs = std::filesystem;

namespace {

struct IgnoreRules {
  std::vector<std::string> folderNames;  // "name/"
  std::vector<std::string> rootPaths;    // "dir/name"
  std::vector<std::string> fileNames;    // "*.ext"

  static IgnoreRules Read(const fs::path& folder) {
    IgnoreRules rules;
    std::ifstream in(folder / kPackIgnoreFile);
    std::string line;
    while (std::getline(in, line)) {
      while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) line.pop_back();
      const auto start = line.find_first_not_of(" \t");
      if (start == std::string::npos || line[start] == '#') continue;
      line.erase(0, start);
      if (line.back() == '/' && line[0] == '/') {
        rules.rootPaths.push_back(line.substr(1, line.size() - 2));
      } else if (line.back() == '/') {
        rules.folderNames.push_back(line.substr(0, line.size() - 1));
      } else if (line.find('/') != std::string::npos) {
        rules.rootPaths.push_back(line[0] == '/' ? line.substr(1) : line);
      } else {
        rules.fileNames.push_back(line);
      }
    }
    return rules;
  }

  static bool AnyMatches(const std::vector<std::string>& patterns, const std::string& text) {
    return std::any_of(patterns.begin(), patterns.end(),
                       [&](const std::string& pattern) { return ::fnmatch(pattern.c_str(), text.c_str(), FNM_PATHNAME) == 0; });
  }

  bool SkipsFolder(const fs::path& relative) const {
    return AnyMatches(folderNames, relative.filename().string()) || AnyMatches(rootPaths, relative.generic_string());
  }

  bool SkipsFile(const fs::path& relative) const {
    const std::string member = relative.generic_string();
    return member == kPackIgnoreFile || AnyMatches(fileNames, relative.filename().string()) || AnyMatches(rootPaths, member);
  }
};

}  // namespace

std::vector<TemplateFile> ListTemplateFiles(const fs::path& folder) {
  if (!fs::is_directory(folder)) throw std::runtime_error(folder.string() + ": not a folder");
  const IgnoreRules ignore = IgnoreRules::Read(folder);
  std::vector<TemplateFile> files;
  for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
    const fs::path& path = it->path();
    const fs::path relative = fs::relative(path, folder);
    if (it->is_directory() && !it->is_symlink()) {
      if (ignore.SkipsFolder(relative)) it.disable_recursion_pending();
      continue;
    }
    if (ignore.SkipsFile(relative)) continue;
    // A link could pull in files from outside the template, or pack a different
    // file on another machine; the template must hold real files only.
    if (it->is_symlink()) throw std::runtime_error(path.string() + ": symbolic links are not packed; replace it with the file");
    if (!it->is_regular_file()) throw std::runtime_error(path.string() + ": not a regular file");
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) throw std::runtime_error(path.string() + ": cannot read its time stamp");
    files.push_back({relative.generic_string(), path, info.st_mtime});
  }
  std::sort(files.begin(), files.end(), [](const TemplateFile& a, const TemplateFile& b) { return a.memberName < b.memberName; });
  return files;
}

}  // namespace velmtools
