// Finds the module libraries and reads what they say about themselves from
// their resources, without loading them.
#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "publish_target.h"

namespace velmhost {

// A fault that `velm` reports in one line and exits with status 1.
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ModuleInfo {
  std::string kind;           // the library's file stem, e.g. "visagor"
  std::filesystem::path file;
  std::string componentName;  // string 65520
  std::string productName;    // version block ProductName
};

// The folders searched for module libraries: VELM_MODULE_PATH (':'-separated)
// when set, else `defaultFolder` (the modules folder beside the program's).
std::vector<std::filesystem::path> ModuleFolders(const EnvironmentLookup& environment,
                                                 const std::filesystem::path& defaultFolder);

// Every *.so in those folders, sorted by kind; the first folder wins for a
// kind found twice. A library whose resources cannot be read is listed with
// empty names and the reason in `problem`.
struct ModuleListing {
  std::vector<ModuleInfo> modules;
  std::vector<std::string> problems;
};
ModuleListing ListModules(const std::vector<std::filesystem::path>& folders);

// The module of a kind: its file stem ("visagor"), its Windows library name
// ("visagor.dll", as descriptors write it) or its component name. Throws
// CommandError naming the kinds there are.
ModuleInfo FindModule(const std::vector<std::filesystem::path>& folders, const std::string& kind);

}  // namespace velmhost
