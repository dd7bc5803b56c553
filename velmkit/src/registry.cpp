#include "velmkit/registry.h"

#include <algorithm>

namespace velmkit {
namespace {

struct Registry {
  int initProgram = 0;
  std::vector<const TFormClass*> classes;
  RegistryObserver observer;
};

// Never destroyed: module libraries still loaded at program exit unregister
// from their own destructors, which may run after this library's statics die.
Registry& TheRegistry() {
  static Registry* registry = new Registry;
  return *registry;
}

}  // namespace

int InitProgram() { return TheRegistry().initProgram; }
void SetInitProgram(int value) { TheRegistry().initProgram = value; }

void RegisterModuleClass(const TFormClass* formClass) {
  Registry& registry = TheRegistry();
  if (formClass != nullptr &&
      std::find(registry.classes.begin(), registry.classes.end(), formClass) == registry.classes.end()) {
    registry.classes.push_back(formClass);
  }
  if (registry.observer) registry.observer(RegistryEvent::Register, formClass);
}

void UnRegisterModuleClass(const TFormClass* formClass) {
  Registry& registry = TheRegistry();
  auto& classes = registry.classes;
  classes.erase(std::remove(classes.begin(), classes.end(), formClass), classes.end());
  if (registry.observer) registry.observer(RegistryEvent::UnRegister, formClass);
}

std::vector<const TFormClass*> RegisteredModuleClasses() { return TheRegistry().classes; }

const TFormClass* FindModuleClass(const std::string& className) {
  for (const TFormClass* formClass : TheRegistry().classes) {
    if (formClass->ClassName() == className) return formClass;
  }
  return nullptr;
}

void SetRegistryObserver(RegistryObserver observer) { TheRegistry().observer = std::move(observer); }

}  // namespace velmkit
