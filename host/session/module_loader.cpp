#include "module_loader.h"

#include <dlfcn.h>
#include <velmkit/registry.h>

#include <map>
#include <vector>

#include "module_catalog.h"

namespace velmhost {

namespace {

struct LoadedLibrary {
  void* handle;
  const velmkit::TFormClass* formClass;
};

// A library registers its class only on its first load; later loads of the
// same file find it here.
std::map<std::filesystem::path, LoadedLibrary>& Loaded() {
  static std::map<std::filesystem::path, LoadedLibrary> loaded;
  return loaded;
}

}  // namespace

const velmkit::TFormClass* LoadModuleLibrary(const std::filesystem::path& file) {
  auto& loaded = Loaded();
  std::error_code error;
  const auto key = std::filesystem::weakly_canonical(file, error);
  if (const auto found = loaded.find(key); found != loaded.end()) return found->second.formClass;

  // Modules register only while the host program runs.
  velmkit::SetInitProgram(1);
  std::vector<const velmkit::TFormClass*> registered;
  velmkit::SetRegistryObserver([&](velmkit::RegistryEvent event, const velmkit::TFormClass* formClass) {
    if (event == velmkit::RegistryEvent::Register) registered.push_back(formClass);
  });
  void* handle = ::dlopen(key.c_str(), RTLD_NOW | RTLD_LOCAL);
  velmkit::SetRegistryObserver(nullptr);
  if (handle == nullptr) {
    const char* why = ::dlerror();
    throw CommandError("cannot load module library: " + std::string(why != nullptr ? why : file.string()));
  }
  if (registered.empty()) {
    ::dlclose(handle);
    throw CommandError(file.string() + ": the library registered no form class");
  }
  loaded[key] = {handle, registered.front()};
  return registered.front();
}

void UnloadModuleLibraries() {
  for (const auto& [file, library] : Loaded()) ::dlclose(library.handle);
  Loaded().clear();
}

}  // namespace velmhost
