#include "module_loader.h"

#include <dlfcn.h>
#include <velmkit/registry.h>

#include <map>
#include <vector>

#include "module_catalog.h"

namespace velmhost {

const velmkit::TFormClass* LoadModuleLibrary(const std::filesystem::path& file) {
  // A library registers its class only on its first load; later loads of the
  // same file find it here.
  static std::map<std::filesystem::path, const velmkit::TFormClass*> loaded;
  std::error_code error;
  const auto key = std::filesystem::weakly_canonical(file, error);
  if (const auto found = loaded.find(key); found != loaded.end()) return found->second;

  // Modules register only while the host program runs.
  velmkit::SetInitProgram(1);
  std::vector<const velmkit::TFormClass*> registered;
  velmkit::SetRegistryObserver([&](velmkit::RegistryEvent event, const velmkit::TFormClass* formClass) {
    if (event == velmkit::RegistryEvent::Register) registered.push_back(formClass);
  });
  // Never closed: the forms and items the module makes run its code until exit.
  void* handle = ::dlopen(key.c_str(), RTLD_NOW | RTLD_LOCAL);
  velmkit::SetRegistryObserver(nullptr);
  if (handle == nullptr) {
    const char* why = ::dlerror();
    throw CommandError("cannot load module library: " + std::string(why != nullptr ? why : file.string()));
  }
  if (registered.empty()) throw CommandError(file.string() + ": the library registered no form class");
  loaded[key] = registered.front();
  return registered.front();
}

}  // namespace velmhost
