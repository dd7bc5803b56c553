// The section table of an ELF file, read with bounds checks.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace velmkit::elf {

struct Section {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
};

class File {
 public:
  // Opens a 64-bit little-endian ELF file and reads its section names.
  // Throws ResourceError naming the file.
  explicit File(const std::string& path);
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool Has(const std::string& name) const { return FSections.count(name) > 0; }
  // The bytes of a section; empty when the file has no such section.
  std::vector<std::uint8_t> Read(const std::string& name) const;

 private:
  void ReadAt(std::uint64_t offset, void* buffer, std::uint64_t size) const;
  [[noreturn]] void Fail(const std::string& message) const;
  std::string FPath;
  int FFd = -1;
  std::uint64_t FSize = 0;
  std::map<std::string, Section> FSections;
};

}  // namespace velmkit::elf
