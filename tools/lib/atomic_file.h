// Writes a file so that readers only ever see the old or the complete new
// content: the bytes go to a temporary file beside the target, which is then
// renamed into place.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>

namespace velmtools {

// Calls `write` with a stream on a temporary file in the target's folder and
// renames it to `target` when `write` returns normally. On any failure
// (including an exception from `write`) the temporary file is removed, the
// target is untouched, and std::runtime_error is thrown.
void WriteFileAtomically(const std::filesystem::path& target, const std::function<void(std::ostream&)>& write);

}  // namespace velmtools
