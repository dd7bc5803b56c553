// Checks that a ZIP archive has the properties of a template archive, reading
// both the local headers and the central directory and cross-checking them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmtools {

struct Violation {
  std::string member;  // empty for a property of the whole archive
  std::string message;
};

// Every violation found; an empty list means the archive is a valid template
// archive. Never reads outside [data, data + size).
std::vector<Violation> CheckTemplateArchive(const std::uint8_t* data, std::size_t size);

}  // namespace velmtools
