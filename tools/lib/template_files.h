// Lists the files of a template folder as archive members.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace velmtools {

struct TemplateFile {
  std::string memberName;  // relative, forward slashes, letter case kept
  std::filesystem::path path;
  std::time_t modified;
};

// The name of the file in a template folder's root that lists what stays out
// of the archive (the developers' tests, caches). One pattern a line, `#`
// starts a comment:
//   name/        every folder of that name, at any depth
//   /name/       the folder of that name in the template root only
//   dir/name     that path from the template root (glob, `*` stops at `/`)
//   *.ext        a file name at any depth (a pattern without a slash)
// The list file itself is never packed.
inline constexpr const char* kPackIgnoreFile = ".packignore";

// Every regular file below `folder` that the ignore list keeps, sorted by
// member name so that the same folder always gives the same archive. Throws
// std::runtime_error naming the offending path for a symbolic link or any
// other non-regular entry.
std::vector<TemplateFile> ListTemplateFiles(const std::filesystem::path& folder);

}  // namespace velmtools
