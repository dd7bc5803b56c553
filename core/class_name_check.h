#pragma once
#include <string>

namespace velmcore {

// Why `name` cannot name a class folder directly inside its parent folder,
// or "" when it can. Names that some file system of the project's users
// cannot hold are refused too, so a project stays portable.
std::string classNameProblem(const std::string& name);

// The part of that check that keeps a path inside its folder: false for "",
// ".", ".." and names holding a slash, a backslash or a NUL.
bool isSingleFolderName(const std::string& name);

}  // namespace velmcore
