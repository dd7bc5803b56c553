// Builds ZIP archives field by field, so that tests can make archives that
// break exactly one rule. Every field starts at the value a template archive
// needs; a test changes the ones it is about.
#pragma once

#include <zlib.h>

#include <optional>
#include <string>
#include <vector>

#include "byte_io.h"
#include "zip_writer.h"

namespace velmtools::testing {

inline Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

struct RawMember {
  std::string name = "index.html";
  Bytes content = ToBytes("hello hello hello");
  std::uint16_t versionMadeBy = 20;
  std::uint16_t versionNeeded = 20;
  std::uint16_t flags = 0x0800;
  std::uint16_t method = 8;
  std::uint16_t time = 0x6000;  // 12:00:00
  std::uint16_t date = 0x5221;  // 2021-01-01
  Bytes extra;
  Bytes localExtra;
  std::string comment;
  std::uint16_t internalAttributes = 0;
  std::uint32_t externalAttributes = 0x20;
  std::optional<std::string> localName;           // when the local header names it differently
  std::optional<std::uint32_t> crcOverride;       // both headers
  std::optional<std::uint32_t> localCrcOverride;  // local header only
  bool writeDataDescriptor = false;
};

struct RawArchive {
  std::vector<RawMember> members;
  Bytes prefix;  // bytes before the first local header
  std::string comment;
};

inline Bytes Build(const RawArchive& archive) {
  Bytes out = archive.prefix;
  Bytes directory;
  for (const auto& m : archive.members) {
    const Bytes data = m.method == 8 ? Deflate(m.content) : m.content;
    const auto crc = m.crcOverride.value_or(
        static_cast<std::uint32_t>(crc32(0L, m.content.data(), static_cast<uInt>(m.content.size()))));
    const auto offset = static_cast<std::uint32_t>(out.size());
    const std::string localName = m.localName.value_or(m.name);
    const bool descriptor = m.writeDataDescriptor;
    PutU32(out, 0x04034b50);
    PutU16(out, m.versionNeeded);
    PutU16(out, m.flags);
    PutU16(out, m.method);
    PutU16(out, m.time);
    PutU16(out, m.date);
    PutU32(out, descriptor ? 0 : m.localCrcOverride.value_or(crc));
    PutU32(out, descriptor ? 0 : static_cast<std::uint32_t>(data.size()));
    PutU32(out, descriptor ? 0 : static_cast<std::uint32_t>(m.content.size()));
    PutU16(out, static_cast<std::uint16_t>(localName.size()));
    const Bytes& localExtra = m.localExtra.empty() ? m.extra : m.localExtra;
    PutU16(out, static_cast<std::uint16_t>(localExtra.size()));
    PutText(out, localName);
    out.insert(out.end(), localExtra.begin(), localExtra.end());
    out.insert(out.end(), data.begin(), data.end());
    if (descriptor) {
      PutU32(out, 0x08074b50);
      PutU32(out, crc);
      PutU32(out, static_cast<std::uint32_t>(data.size()));
      PutU32(out, static_cast<std::uint32_t>(m.content.size()));
    }
    PutU32(directory, 0x02014b50);
    PutU16(directory, m.versionMadeBy);
    PutU16(directory, m.versionNeeded);
    PutU16(directory, m.flags);
    PutU16(directory, m.method);
    PutU16(directory, m.time);
    PutU16(directory, m.date);
    PutU32(directory, crc);
    PutU32(directory, static_cast<std::uint32_t>(data.size()));
    PutU32(directory, static_cast<std::uint32_t>(m.content.size()));
    PutU16(directory, static_cast<std::uint16_t>(m.name.size()));
    PutU16(directory, static_cast<std::uint16_t>(m.extra.size()));
    PutU16(directory, static_cast<std::uint16_t>(m.comment.size()));
    PutU16(directory, 0);
    PutU16(directory, m.internalAttributes);
    PutU32(directory, m.externalAttributes);
    PutU32(directory, offset);
    PutText(directory, m.name);
    directory.insert(directory.end(), m.extra.begin(), m.extra.end());
    PutText(directory, m.comment);
  }
  const auto directoryOffset = static_cast<std::uint32_t>(out.size());
  out.insert(out.end(), directory.begin(), directory.end());
  PutU32(out, 0x06054b50);
  PutU16(out, 0);
  PutU16(out, 0);
  PutU16(out, static_cast<std::uint16_t>(archive.members.size()));
  PutU16(out, static_cast<std::uint16_t>(archive.members.size()));
  PutU32(out, static_cast<std::uint32_t>(directory.size()));
  PutU32(out, directoryOffset);
  PutU16(out, static_cast<std::uint16_t>(archive.comment.size()));
  PutText(out, archive.comment);
  return out;
}

}  // namespace velmtools::testing
