#pragma once
#include <string>

namespace qnet {

// Writes the whole content to a temporary file beside the target and renames
// it into place, so that a reader never sees a half-written file and a failed
// write leaves the old file untouched.
void WriteFileAtomically(const std::string& path, const std::string& content);

// Reads a whole file; throws qnet::Error naming the file when it cannot.
std::string ReadWholeFile(const std::string& path);

}  // namespace qnet
