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

// Every regular file below `folder`, sorted by member name so that the same
// folder always gives the same archive. Throws std::runtime_error naming the
// offending path for a symbolic link or any other non-regular entry.
std::vector<TemplateFile> ListTemplateFiles(const std::filesystem::path& folder);

}  // namespace velmtools
