#include "member_name.h"

#include <cstdint>

namespace velmtools {

bool IsValidUtf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<std::uint8_t>(text[i]);
    std::size_t extra = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if ((lead & 0xE0) == 0xC0) {
      extra = 1;
      code = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2;
      code = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3;
      code = lead & 0x07u;
    } else {
      return false;
    }
    if (text.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<std::uint8_t>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3Fu);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    static const std::uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
    if (code < kMinimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    i += extra + 1;
  }
  return true;
}

std::optional<std::string> MemberNameProblem(const std::string& name) {
  if (name.empty()) return "empty name";
  if (!IsValidUtf8(name)) return "name is not valid UTF-8";
  if (name.front() == '/') return "name has a leading slash";
  if (name.back() == '/') return "directory entry";
  for (unsigned char c : name) {
    if (c == '\\') return "name contains a backslash";
    if (c < 0x20 || c == 0x7F) return "name contains a control character";
    if (c == ':') return "name contains a colon";
  }
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = name.find('/', start);
    const std::string part = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (part.empty()) return "name has an empty path component";
    if (part == "." || part == "..") return "name has a '" + part + "' component";
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return std::nullopt;
}

}  // namespace velmtools
