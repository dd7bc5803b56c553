#include "module_catalog.h"

#include <velmkit/resources.h>

#include <algorithm>
#include <set>
#include <sstream>

namespace velmhost {

namespace fs = std::filesystem;

std::vector<fs::path> ModuleFolders(const EnvironmentLookup& environment, const fs::path& defaultFolder) {
  const auto given = environment("VELM_MODULE_PATH");
  if (!given || given->empty()) return {defaultFolder};
  std::vector<fs::path> folders;
  std::stringstream parts(*given);
  std::string part;
  while (std::getline(parts, part, ':')) {
    if (!part.empty()) folders.emplace_back(part);
  }
  return folders;
}

namespace {

std::string VersionString(const velmkit::ModuleVersion& version, const std::string& key) {
  for (const auto& table : version.stringTables) {
    for (const auto& [name, value] : table.entries) {
      if (name == key) return value;
    }
  }
  return "";
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

ModuleListing ListModules(const std::vector<fs::path>& folders) {
  ModuleListing listing;
  std::set<std::string> seen;
  for (const auto& folder : folders) {
    std::error_code error;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
      if (entry.path().extension() == ".so" && entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
      ModuleInfo info{file.stem().string(), file, "", ""};
      if (!seen.insert(info.kind).second) continue;
      try {
        const auto resources = velmkit::ReadModuleResources(file.string());
        const auto name = resources.strings.find(velmkit::kComponentNameStringId);
        if (name != resources.strings.end()) info.componentName = name->second;
        info.productName = VersionString(resources.version, "ProductName");
      } catch (const std::exception& failure) {
        listing.problems.push_back(failure.what());
      }
      listing.modules.push_back(info);
    }
  }
  std::sort(listing.modules.begin(), listing.modules.end(), [](const ModuleInfo& a, const ModuleInfo& b) { return a.kind < b.kind; });
  return listing;
}

ModuleInfo FindModule(const std::vector<fs::path>& folders, const std::string& kind) {
  const ModuleListing listing = ListModules(folders);
  std::string wanted = kind;
  // Descriptors name the Windows library; its Linux twin has the same stem.
  if (Lower(wanted).size() > 4 && Lower(wanted).compare(wanted.size() - 4, 4, ".dll") == 0) wanted.resize(wanted.size() - 4);
  for (const auto& module : listing.modules) {
    if (module.kind == wanted || (!module.componentName.empty() && module.componentName == kind)) return module;
  }
  std::string known;
  for (const auto& module : listing.modules) known += (known.empty() ? "" : ", ") + module.kind;
  std::string searched;
  for (const auto& folder : folders) searched += (searched.empty() ? "" : ":") + folder.string();
  const std::string what = wanted == kind ? "unknown kind '" + kind + "'" : "no module library " + wanted + ".so for '" + kind + "'";
  throw CommandError(what + (known.empty() ? " (no module libraries in " + searched + ")" : " (known: " + known + ")"));
}

}  // namespace velmhost
