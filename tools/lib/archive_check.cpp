#include "archive_check.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <set>

#include "byte_io.h"
#include "dos_time.h"
#include "member_name.h"
#include "zip_layout.h"

namespace velmtools {

namespace {

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

// The fields that the central directory and the local header both carry.
struct SharedFields {
  std::uint16_t versionNeeded;
  std::uint16_t flags;
  std::uint16_t method;
  std::uint16_t time;
  std::uint16_t date;
  std::uint32_t crc;
  std::uint32_t compressedSize;
  std::uint32_t size;
  std::string name;
  std::uint16_t extraLength;
};

struct CentralEntry {
  SharedFields fields;
  std::uint16_t versionMadeBy;
  std::uint16_t commentLength;
  std::uint16_t diskStart;
  std::uint16_t internalAttributes;
  std::uint32_t externalAttributes;
  std::uint32_t localOffset;
  std::string label;  // how reports name the member
};

struct LocalExtent {
  std::size_t start;
  std::size_t end;
  std::string label;
};

class Checker {
 public:
  Checker(const std::uint8_t* data, std::size_t size) : bytes_(data, size) {}

  std::vector<Violation> Run() {
    const auto endRecord = FindEndRecord();
    if (!endRecord) return violations_;
    std::vector<CentralEntry> entries = ReadCentralDirectory(*endRecord);
    if (endRecord->count == 0) Report("", "archive holds no members");
    std::vector<LocalExtent> extents;
    std::set<std::string> seen;
    for (const auto& entry : entries) {
      CheckCentralEntry(entry);
      if (!seen.insert(entry.fields.name).second) Report(entry.label, "duplicate member name");
      if (auto extent = CheckLocalMember(entry)) extents.push_back(*extent);
    }
    CheckCoverage(extents, endRecord->directoryOffset);
    return violations_;
  }

 private:
  struct EndRecord {
    std::size_t offset;
    std::uint32_t directoryOffset;
    std::uint32_t directorySize;
    std::uint16_t count;
  };

  void Report(const std::string& member, const std::string& message) { violations_.push_back({member, message}); }

  std::optional<EndRecord> FindEndRecord() {
    const std::size_t size = bytes_.size();
    if (size < zip::kEndOfCentralSize) {
      Report("", "too short to be a ZIP archive");
      return std::nullopt;
    }
    // The end record is the last record; its comment, if any, runs to the end of the file.
    const std::size_t last = size - zip::kEndOfCentralSize;
    const std::size_t first = last > 0xFFFF ? last - 0xFFFF : 0;
    std::optional<std::size_t> found;
    for (std::size_t pos = last + 1; pos-- > first;) {
      if (bytes_.U32(pos) == zip::kEndOfCentralSignature &&
          pos + zip::kEndOfCentralSize + *bytes_.U16(pos + 20) == size) {
        found = pos;
        break;
      }
    }
    if (!found) {
      Report("", "no end of central directory record");
      return std::nullopt;
    }
    const std::size_t at = *found;
    EndRecord record{at, *bytes_.U32(at + 16), *bytes_.U32(at + 12), *bytes_.U16(at + 10)};
    if (*bytes_.U16(at + 20) != 0) Report("", "archive comment of " + std::to_string(*bytes_.U16(at + 20)) + " bytes");
    if (*bytes_.U16(at + 4) != 0 || *bytes_.U16(at + 6) != 0) Report("", "multi-disk archive");
    if (*bytes_.U16(at + 8) != record.count) Report("", "member counts in the end record disagree");
    if (at >= 20 && bytes_.U32(at - 20) == zip::kZip64LocatorSignature) Report("", "ZIP64 records");
    if (static_cast<std::uint64_t>(record.directoryOffset) + record.directorySize != at) {
      Report("", "central directory does not end where the end record starts");
    }
    return record;
  }

  std::vector<CentralEntry> ReadCentralDirectory(const EndRecord& record) {
    std::vector<CentralEntry> entries;
    std::size_t pos = record.directoryOffset;
    for (std::uint32_t index = 0; index < record.count; ++index) {
      const std::string where = "central directory entry " + std::to_string(index + 1);
      if (!bytes_.Has(pos, zip::kCentralHeaderSize) || pos + zip::kCentralHeaderSize > record.offset) {
        Report("", where + " lies outside the central directory");
        return entries;
      }
      if (bytes_.U32(pos) != zip::kCentralHeaderSignature) {
        Report("", where + " has a bad signature");
        return entries;
      }
      CentralEntry entry{};
      entry.versionMadeBy = *bytes_.U16(pos + 4);
      entry.fields.versionNeeded = *bytes_.U16(pos + 6);
      entry.fields.flags = *bytes_.U16(pos + 8);
      entry.fields.method = *bytes_.U16(pos + 10);
      entry.fields.time = *bytes_.U16(pos + 12);
      entry.fields.date = *bytes_.U16(pos + 14);
      entry.fields.crc = *bytes_.U32(pos + 16);
      entry.fields.compressedSize = *bytes_.U32(pos + 20);
      entry.fields.size = *bytes_.U32(pos + 24);
      const std::uint16_t nameLength = *bytes_.U16(pos + 28);
      entry.fields.extraLength = *bytes_.U16(pos + 30);
      entry.commentLength = *bytes_.U16(pos + 32);
      entry.diskStart = *bytes_.U16(pos + 34);
      entry.internalAttributes = *bytes_.U16(pos + 36);
      entry.externalAttributes = *bytes_.U32(pos + 38);
      entry.localOffset = *bytes_.U32(pos + 42);
      const std::size_t recordLength =
          zip::kCentralHeaderSize + nameLength + entry.fields.extraLength + entry.commentLength;
      if (!bytes_.Has(pos, recordLength) || pos + recordLength > record.offset) {
        Report("", where + " runs past the central directory");
        return entries;
      }
      entry.fields.name = *bytes_.Text(pos + zip::kCentralHeaderSize, nameLength);
      entry.label = IsValidUtf8(entry.fields.name) ? entry.fields.name : where;
      entries.push_back(entry);
      pos += recordLength;
    }
    if (pos != record.offset) Report("", "central directory holds more bytes than its entries");
    return entries;
  }

  void CheckCentralEntry(const CentralEntry& entry) {
    const std::string& who = entry.label;
    CheckSharedFields(who, entry.fields);
    if (entry.versionMadeBy != zip::kVersionMadeBy) {
      Report(who, "version made by " + Hex(entry.versionMadeBy, 4) + ", expected 20 with host 0 (MS-DOS)");
    }
    if (entry.commentLength != 0) Report(who, "member comment");
    if (entry.diskStart != 0) Report(who, "starts on another disk");
    if (entry.internalAttributes != 0) Report(who, "internal attributes " + Hex(entry.internalAttributes, 4) + ", expected 0");
    if (entry.externalAttributes != zip::kExternalArchiveBit) {
      Report(who, "external attributes " + Hex(entry.externalAttributes, 8) + ", expected 0x00000020");
    }
    if (auto problem = MemberNameProblem(entry.fields.name)) Report(who, *problem);
  }

  void CheckSharedFields(const std::string& who, const SharedFields& fields) {
    if (fields.method != zip::kMethodDeflate) {
      Report(who, "compression method " + std::to_string(fields.method) + ", expected deflate (8)");
    }
    if (fields.flags & 0x0001) Report(who, "encrypted (flag bit 0)");
    if (fields.flags & zip::kFlagDataDescriptor) Report(who, "data descriptor (flag bit 3)");
    if (!(fields.flags & zip::kFlagUtf8Names)) Report(who, "UTF-8 name flag (bit 11) not set");
    const std::uint16_t others = fields.flags & ~(0x0001 | zip::kFlagDataDescriptor | zip::kFlagUtf8Names) & 0xFFFF;
    if (others != 0) Report(who, "unexpected general purpose flags " + Hex(others, 4));
    if (fields.versionNeeded != zip::kVersionNeeded) {
      Report(who, "version needed " + std::to_string(fields.versionNeeded) + ", expected 20");
    }
    if (fields.extraLength != 0) Report(who, "extra field of " + std::to_string(fields.extraLength) + " bytes");
    if (!IsValidDosTimestamp({fields.time, fields.date})) Report(who, "invalid DOS date or time");
  }

  std::optional<LocalExtent> CheckLocalMember(const CentralEntry& entry) {
    const std::string& who = entry.label;
    const std::size_t pos = entry.localOffset;
    if (!bytes_.Has(pos, zip::kLocalHeaderSize) || bytes_.U32(pos) != zip::kLocalHeaderSignature) {
      Report(who, "no local header at offset " + std::to_string(pos));
      return std::nullopt;
    }
    SharedFields local{};
    local.versionNeeded = *bytes_.U16(pos + 4);
    local.flags = *bytes_.U16(pos + 6);
    local.method = *bytes_.U16(pos + 8);
    local.time = *bytes_.U16(pos + 10);
    local.date = *bytes_.U16(pos + 12);
    local.crc = *bytes_.U32(pos + 14);
    local.compressedSize = *bytes_.U32(pos + 18);
    local.size = *bytes_.U32(pos + 22);
    const std::uint16_t nameLength = *bytes_.U16(pos + 26);
    local.extraLength = *bytes_.U16(pos + 28);
    const auto name = bytes_.Text(pos + zip::kLocalHeaderSize, nameLength);
    if (!name) {
      Report(who, "local header runs past the end of the archive");
      return std::nullopt;
    }
    local.name = *name;

    const SharedFields& central = entry.fields;
    const auto differs = [&](const char* field) { Report(who, std::string("local header ") + field + " differs from the central directory"); };
    if (local.versionNeeded != central.versionNeeded) differs("version needed");
    if (local.flags != central.flags) differs("flags");
    if (local.method != central.method) differs("compression method");
    if (local.time != central.time || local.date != central.date) differs("date and time");
    if (local.name != central.name) differs("name");
    if (local.extraLength != central.extraLength) differs("extra field length");
    // With a data descriptor the local header may leave these three at zero.
    const bool descriptor = (local.flags & zip::kFlagDataDescriptor) != 0;
    if (!descriptor || local.crc != 0 || local.compressedSize != 0 || local.size != 0) {
      if (local.crc != central.crc) differs("CRC");
      if (local.compressedSize != central.compressedSize) differs("compressed size");
      if (local.size != central.size) differs("size");
    }
    // Only a mismatch the central directory does not already report.
    if (local.extraLength != 0 && central.extraLength == 0) {
      Report(who, "local extra field of " + std::to_string(local.extraLength) + " bytes");
    }

    const std::size_t dataStart = pos + zip::kLocalHeaderSize + nameLength + local.extraLength;
    if (!bytes_.Has(dataStart, central.compressedSize)) {
      Report(who, "data runs past the end of the archive");
      return std::nullopt;
    }
    CheckData(who, dataStart, central);
    std::size_t end = dataStart + central.compressedSize;
    if (descriptor) end = SkipDataDescriptor(end);
    return LocalExtent{pos, end, who};
  }

  std::size_t SkipDataDescriptor(std::size_t pos) const {
    const std::size_t withSignature = 16;
    if (bytes_.U32(pos) == 0x08074b50 && bytes_.Has(pos, withSignature)) return pos + withSignature;
    return bytes_.Has(pos, 12) ? pos + 12 : pos;
  }

  void CheckData(const std::string& who, std::size_t start, const SharedFields& fields) {
    if (fields.method != zip::kMethodDeflate && fields.method != 0) return;  // already reported; nothing to decode
    if (fields.flags & 0x0001) return;
    const std::uint8_t* data = bytes_.data() + start;
    std::uint64_t produced = 0;
    uLong crc = crc32(0L, Z_NULL, 0);
    if (fields.method == 0) {
      produced = fields.compressedSize;
      crc = crc32(crc, data, fields.compressedSize);
    } else if (!Inflate(data, fields.compressedSize, fields.size, produced, crc)) {
      Report(who, "deflate data is corrupt or longer than its declared size");
      return;
    }
    if (produced != fields.size) Report(who, "data size " + std::to_string(produced) + " differs from the declared " + std::to_string(fields.size));
    if (static_cast<std::uint32_t>(crc) != fields.crc) Report(who, "CRC mismatch");
  }

  // Inflates at most `limit` + 1 bytes, so that a member cannot expand without bound.
  static bool Inflate(const std::uint8_t* data, std::uint32_t length, std::uint32_t limit, std::uint64_t& produced, uLong& crc) {
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = length;
    std::uint8_t buffer[16384];
    int result = Z_OK;
    while (result == Z_OK) {
      stream.next_out = buffer;
      stream.avail_out = sizeof buffer;
      result = inflate(&stream, Z_NO_FLUSH);
      const std::size_t chunk = sizeof buffer - stream.avail_out;
      crc = crc32(crc, buffer, static_cast<uInt>(chunk));
      produced += chunk;
      if (produced > limit) break;
      if (result == Z_BUF_ERROR || (result == Z_OK && chunk == 0 && stream.avail_in == 0)) break;
    }
    const bool complete = result == Z_STREAM_END && stream.avail_in == 0 && produced <= limit;
    inflateEnd(&stream);
    return complete;
  }

  void CheckCoverage(std::vector<LocalExtent> extents, std::size_t directoryStart) {
    if (extents.empty()) {
      if (directoryStart != 0) Report("", "unlisted bytes before the central directory");
      return;
    }
    std::sort(extents.begin(), extents.end(), [](const LocalExtent& a, const LocalExtent& b) { return a.start < b.start; });
    if (extents.front().start != 0) Report("", "archive does not begin with the first member's local header");
    for (std::size_t i = 1; i < extents.size(); ++i) {
      if (extents[i].start < extents[i - 1].end) {
        Report(extents[i].label, "overlaps the previous member");
      } else if (extents[i].start > extents[i - 1].end) {
        Report(extents[i].label, std::to_string(extents[i].start - extents[i - 1].end) + " unlisted bytes before this member");
      }
    }
    if (extents.back().end < directoryStart) {
      Report("", std::to_string(directoryStart - extents.back().end) + " unlisted bytes before the central directory");
    } else if (extents.back().end > directoryStart) {
      Report(extents.back().label, "overlaps the central directory");
    }
  }

  ByteView bytes_;
  std::vector<Violation> violations_;
};

}  // namespace

std::vector<Violation> CheckTemplateArchive(const std::uint8_t* data, std::size_t size) {
  return Checker(data, size).Run();
}

}  // namespace velmtools
