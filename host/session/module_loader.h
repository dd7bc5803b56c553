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

}  // namespace velmhost
