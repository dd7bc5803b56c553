// The module registry that module libraries join when they are loaded by the
// running host program.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "velmkit/classes.h"

namespace velmkit {

// Non-zero while the host program runs. Zero in a plain process, so that a
// module library loaded by another program stays inert.
VELMKIT_API int InitProgram();
VELMKIT_API void SetInitProgram(int value);

// Registering a class twice keeps one entry; unregistering an unknown class
// does nothing. The observer sees every call either way.
VELMKIT_API void RegisterModuleClass(const TFormClass* formClass);
VELMKIT_API void UnRegisterModuleClass(const TFormClass* formClass);

VELMKIT_API std::vector<const TFormClass*> RegisteredModuleClasses();
// Exact class name; nullptr when not registered.
VELMKIT_API const TFormClass* FindModuleClass(const std::string& className);

enum class RegistryEvent { Register, UnRegister };
using RegistryObserver = std::function<void(RegistryEvent event, const TFormClass* formClass)>;
// One observer at a time; an empty function removes it.
VELMKIT_API void SetRegistryObserver(RegistryObserver observer);

}  // namespace velmkit
