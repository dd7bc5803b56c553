// Module resources, carried as data in named ELF sections of a module library
// (see cmake/VelmkitResources.cmake) and read from the file, without loading it.
//
// Sections and their byte layouts (integers little-endian, u16 and u32):
//   .velm_strings  string table: records of  u32 id, u32 byte length, UTF-8 bytes.
//   .velm_pwa_app  the template archive (ZIP), whole.
//   .velm_icons    MAINICON: u32 count, then per image u32 byte length and the
//                  bytes of an uncompressed BMP file.
//   .velm_version  version block:
//                    4 bytes "VVB1";
//                    u16[4] file version, u16[4] product version (major, minor,
//                    release, build);
//                    u32 file flags, u32 operating system, u32 file type,
//                    u32 file subtype;
//                    u32 translation count, per translation u16 language, u16 code page;
//                    u32 string table count, per table a string (its
//                    language-codepage key such as "040904E4"), u32 entry count,
//                    per entry a key string and a value string;
//                  where a string is u32 byte length and UTF-8 bytes.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "velmkit/classes.h"

namespace velmkit {

struct ModuleIcon {
  int width = 0;     // from the BMP header; 0 when the bytes are no BMP
  int height = 0;
  int bitCount = 0;
  std::vector<std::uint8_t> bytes;
};

struct ModuleVersion {
  std::uint16_t fileVersion[4] = {0, 0, 0, 0};
  std::uint16_t productVersion[4] = {0, 0, 0, 0};
  std::uint32_t fileFlags = 0;
  std::uint32_t fileOs = 0;
  std::uint32_t fileType = 0;
  std::uint32_t fileSubtype = 0;
  std::vector<std::pair<std::uint16_t, std::uint16_t>> translations;
  struct StringTable {
    std::string key;
    std::vector<std::pair<std::string, std::string>> entries;
  };
  std::vector<StringTable> stringTables;
};

struct ModuleResources {
  std::map<std::uint32_t, std::string> strings;
  bool hasPwaApp = false;
  std::vector<std::uint8_t> pwaApp;
  std::vector<ModuleIcon> icons;
  bool hasVersion = false;
  ModuleVersion version;
};

// A module file whose resources cannot be read; what() names the file.
class VELMKIT_API ResourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
  ~ResourceError() override;
};

// The string table id of a module form's component name.
constexpr std::uint32_t kComponentNameStringId = 65520;

// Reads the resource sections of the 64-bit little-endian ELF file at `path`.
// Sections that are absent stay empty. Throws ResourceError for a file that is
// not such an ELF file, or whose sections or records run out of bounds.
VELMKIT_API ModuleResources ReadModuleResources(const std::string& path);
// Only the string table, without reading the archive.
VELMKIT_API std::map<std::uint32_t, std::string> ReadModuleStrings(const std::string& path);

// String `id` of the string table of the library that contains `address` (a
// module passes the address of one of its own functions or objects). Empty
// when the library or the string cannot be found.
VELMKIT_API std::string LoadModuleString(const void* address, std::uint32_t id);

}  // namespace velmkit
