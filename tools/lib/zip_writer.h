// Writes template archives: every member deflated, UTF-8 names, MS-DOS
// attributes and no extras, so that the result is the same on every machine.
#pragma once

#include <ostream>
#include <string>
#include <unordered_set>
#include <vector>

#include "byte_io.h"
#include "dos_time.h"

namespace velmtools {

class ZipWriter {
 public:
  explicit ZipWriter(std::ostream& out) : out_(out) {}

  // Appends one member. Throws std::runtime_error for a name that breaks the
  // member-name rules, a duplicate name, or a size the classic format cannot hold.
  void Add(const std::string& name, const Bytes& content, DosTimestamp stamp);

  // Writes the central directory and the end record; call once, last.
  void Finish();

 private:
  struct Entry {
    std::string name;
    std::uint32_t crc;
    std::uint32_t compressedSize;
    std::uint32_t size;
    DosTimestamp stamp;
    std::uint32_t offset;
  };

  void Write(const Bytes& bytes);

  std::ostream& out_;
  std::vector<Entry> entries_;
  std::unordered_set<std::string> names_;
  std::uint64_t position_ = 0;
};

// Raw deflate (no zlib or gzip wrapper) at the best compression level.
Bytes Deflate(const Bytes& content);

}  // namespace velmtools
