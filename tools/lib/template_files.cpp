#include "template_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <stdexcept>

namespace velmtools {

namespace fs = std::filesystem;

std::vector<TemplateFile> ListTemplateFiles(const fs::path& folder) {
  if (!fs::is_directory(folder)) throw std::runtime_error(folder.string() + ": not a folder");
  std::vector<TemplateFile> files;
  for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
    const fs::path& path = it->path();
    // A link could pull in files from outside the template, or pack a different
    // file on another machine; the template must hold real files only.
    if (it->is_symlink()) throw std::runtime_error(path.string() + ": symbolic links are not packed; replace it with the file");
    if (it->is_directory()) continue;
    if (!it->is_regular_file()) throw std::runtime_error(path.string() + ": not a regular file");
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) throw std::runtime_error(path.string() + ": cannot read its time stamp");
    files.push_back({fs::relative(path, folder).generic_string(), path, info.st_mtime});
  }
  std::sort(files.begin(), files.end(), [](const TemplateFile& a, const TemplateFile& b) { return a.memberName < b.memberName; });
  return files;
}

}  // namespace velmtools
