#include "velmkit/resources.h"

#include <dlfcn.h>

#include <cstring>

#include "elf_sections.h"

namespace velmkit {

ResourceError::~ResourceError() = default;

namespace {

// Reads little-endian fields of one section, refusing to run past its end.
class Cursor {
 public:
  Cursor(const std::vector<std::uint8_t>& bytes, std::string where) : FBytes(bytes), FWhere(std::move(where)) {}

  bool AtEnd() const { return FAt == FBytes.size(); }

  std::uint32_t U32() {
    Need(4);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | FBytes[FAt + static_cast<size_t>(i)];
    FAt += 4;
    return value;
  }

  std::uint16_t U16() {
    Need(2);
    auto value = static_cast<std::uint16_t>(FBytes[FAt] | (FBytes[FAt + 1] << 8));
    FAt += 2;
    return value;
  }

  std::vector<std::uint8_t> Bytes(std::uint32_t length) {
    Need(length);
    std::vector<std::uint8_t> bytes(FBytes.begin() + static_cast<std::ptrdiff_t>(FAt),
                                    FBytes.begin() + static_cast<std::ptrdiff_t>(FAt + length));
    FAt += length;
    return bytes;
  }

  std::string String() {
    std::vector<std::uint8_t> bytes = Bytes(U32());
    return std::string(bytes.begin(), bytes.end());
  }

  void Expect(const char* magic) {
    std::vector<std::uint8_t> bytes = Bytes(static_cast<std::uint32_t>(std::strlen(magic)));
    if (std::memcmp(bytes.data(), magic, bytes.size()) != 0) throw ResourceError(FWhere + ": unknown layout");
  }

 private:
  void Need(std::uint64_t length) const {
    if (length > FBytes.size() - FAt) throw ResourceError(FWhere + ": record runs past the end of the section");
  }
  const std::vector<std::uint8_t>& FBytes;
  std::string FWhere;
  size_t FAt = 0;
};

std::map<std::uint32_t, std::string> ParseStrings(const std::vector<std::uint8_t>& bytes, const std::string& where) {
  std::map<std::uint32_t, std::string> strings;
  Cursor cursor(bytes, where);
  while (!cursor.AtEnd()) {
    std::uint32_t id = cursor.U32();
    strings[id] = cursor.String();
  }
  return strings;
}

ModuleIcon ParseIcon(std::vector<std::uint8_t> bytes) {
  ModuleIcon icon;
  // BITMAPFILEHEADER (14 bytes), then BITMAPINFOHEADER: width at 18, height
  // at 22 (negative for top-down), bit count at 28.
  if (bytes.size() >= 30 && bytes[0] == 'B' && bytes[1] == 'M') {
    auto i32 = [&](size_t at) {
      return static_cast<std::int32_t>(bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
                                       (static_cast<std::uint32_t>(bytes[at + 3]) << 24));
    };
    icon.width = i32(18);
    std::int32_t height = i32(22);
    icon.height = height < 0 ? -height : height;
    icon.bitCount = bytes[28] | (bytes[29] << 8);
  }
  icon.bytes = std::move(bytes);
  return icon;
}

std::vector<ModuleIcon> ParseIcons(const std::vector<std::uint8_t>& bytes, const std::string& where) {
  std::vector<ModuleIcon> icons;
  if (bytes.empty()) return icons;
  Cursor cursor(bytes, where);
  std::uint32_t count = cursor.U32();
  for (std::uint32_t i = 0; i < count; ++i) icons.push_back(ParseIcon(cursor.Bytes(cursor.U32())));
  return icons;
}

ModuleVersion ParseVersion(const std::vector<std::uint8_t>& bytes, const std::string& where) {
  ModuleVersion version;
  Cursor cursor(bytes, where);
  cursor.Expect("VVB1");
  for (std::uint16_t& part : version.fileVersion) part = cursor.U16();
  for (std::uint16_t& part : version.productVersion) part = cursor.U16();
  version.fileFlags = cursor.U32();
  version.fileOs = cursor.U32();
  version.fileType = cursor.U32();
  version.fileSubtype = cursor.U32();
  for (std::uint32_t count = cursor.U32(); count > 0; --count) {
    std::uint16_t language = cursor.U16();
    version.translations.emplace_back(language, cursor.U16());
  }
  for (std::uint32_t tables = cursor.U32(); tables > 0; --tables) {
    ModuleVersion::StringTable table;
    table.key = cursor.String();
    for (std::uint32_t entries = cursor.U32(); entries > 0; --entries) {
      std::string key = cursor.String();
      table.entries.emplace_back(std::move(key), cursor.String());
    }
    version.stringTables.push_back(std::move(table));
  }
  if (!cursor.AtEnd()) throw ResourceError(where + ": bytes left after the version block");
  return version;
}

const char* const kStrings = ".velm_strings";
const char* const kPwaApp = ".velm_pwa_app";
const char* const kIcons = ".velm_icons";
const char* const kVersion = ".velm_version";

}  // namespace

ModuleResources ReadModuleResources(const std::string& path) {
  elf::File file(path);
  ModuleResources resources;
  resources.strings = ParseStrings(file.Read(kStrings), path + " " + kStrings);
  resources.hasPwaApp = file.Has(kPwaApp);
  resources.pwaApp = file.Read(kPwaApp);
  resources.icons = ParseIcons(file.Read(kIcons), path + " " + kIcons);
  resources.hasVersion = file.Has(kVersion);
  if (resources.hasVersion) resources.version = ParseVersion(file.Read(kVersion), path + " " + kVersion);
  return resources;
}

std::map<std::uint32_t, std::string> ReadModuleStrings(const std::string& path) {
  elf::File file(path);
  return ParseStrings(file.Read(kStrings), path + " " + kStrings);
}

std::string LoadModuleString(const void* address, std::uint32_t id) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr || info.dli_fname[0] == '\0') return "";
  try {
    std::map<std::uint32_t, std::string> strings = ReadModuleStrings(info.dli_fname);
    auto it = strings.find(id);
    return it != strings.end() ? it->second : "";
  } catch (const ResourceError&) {
    return "";
  }
}

}  // namespace velmkit
