#pragma once
#include <string>

namespace velmcore {

// Both throw std::runtime_error naming the file and the reason.
std::string readWholeFile(const std::string& path);
// Writes beside the target under a temporary name and renames it into place,
// so a crash or a full disk never leaves a half-written file behind.
void replaceFile(const std::string& path, const std::string& bytes);

}  // namespace velmcore
