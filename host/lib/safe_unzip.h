// Unpacks a ZIP archive into a folder without ever writing outside it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmhost {

// An archive that cannot be unpacked safely or completely; what() names the
// member at fault.
class UnzipError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Checks every member first and unpacks nothing when one is unsafe: absolute
// names, ".." components, backslashes, drive letters, symbolic links or other
// special files (by their Unix attributes), duplicate names (libzip's own
// check), and a file that
// is also used as a folder. Then writes each file through a temporary file
// and keeps its time stamp. Returns the names of the files written.
std::vector<std::string> UnzipInto(const std::vector<std::uint8_t>& archive, const std::filesystem::path& folder);

}  // namespace velmhost
