// Loads a module library into the running host and finds the form class it
// registers while loading.
#pragma once

#include <filesystem>

#include <velmkit/classes.h>

namespace velmhost {

// The form class that the library at `file` registers when it is loaded (the
// same class for a library loaded before). Throws CommandError with the
// loader's message when the library cannot be loaded or registers no class.
const velmkit::TFormClass* LoadModuleLibrary(const std::filesystem::path& file);

// Unloads every library loaded above, so that each withdraws its form class
// while the host's registry still exists. Call it once nothing made by a
// module (forms, items, actions) is left.
void UnloadModuleLibraries();

}  // namespace velmhost
