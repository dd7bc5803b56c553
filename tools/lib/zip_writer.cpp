#include "zip_writer.h"

#include <zlib.h>

#include <stdexcept>

#include "member_name.h"
#include "zip_layout.h"

namespace velmtools {

Bytes Deflate(const Bytes& content) {
  if (content.size() > zip::kMaxClassicSize) throw std::runtime_error("file too large for a ZIP member");
  z_stream stream{};
  if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("zlib: deflateInit2 failed");
  }
  Bytes out(deflateBound(&stream, static_cast<uLong>(content.size())));
  stream.next_in = const_cast<Bytef*>(content.data());
  stream.avail_in = static_cast<uInt>(content.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = deflate(&stream, Z_FINISH);
  const auto produced = stream.total_out;
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw std::runtime_error("zlib: deflate did not finish");
  out.resize(produced);
  return out;
}

void ZipWriter::Write(const Bytes& bytes) {
  out_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out_) throw std::runtime_error("write failed");
  position_ += bytes.size();
}

void ZipWriter::Add(const std::string& name, const Bytes& content, DosTimestamp stamp) {
  if (auto problem = MemberNameProblem(name)) throw std::runtime_error(name + ": " + *problem);
  if (name.size() > 0xFFFF) throw std::runtime_error(name + ": name too long");
  if (names_.count(name) != 0) throw std::runtime_error(name + ": duplicate member name");
  if (entries_.size() >= zip::kMaxClassicCount) throw std::runtime_error("too many members for a ZIP archive");

  const Bytes packed = Deflate(content);
  if (position_ + zip::kLocalHeaderSize + name.size() + packed.size() > zip::kMaxClassicSize) {
    throw std::runtime_error(name + ": archive would exceed 4 GiB");
  }
  Entry entry{name,
              static_cast<std::uint32_t>(crc32(0L, content.data(), static_cast<uInt>(content.size()))),
              static_cast<std::uint32_t>(packed.size()),
              static_cast<std::uint32_t>(content.size()),
              stamp,
              static_cast<std::uint32_t>(position_)};

  Bytes header;
  PutU32(header, zip::kLocalHeaderSignature);
  PutU16(header, zip::kVersionNeeded);
  PutU16(header, zip::kFlagUtf8Names);
  PutU16(header, zip::kMethodDeflate);
  PutU16(header, stamp.time);
  PutU16(header, stamp.date);
  PutU32(header, entry.crc);
  PutU32(header, entry.compressedSize);
  PutU32(header, entry.size);
  PutU16(header, static_cast<std::uint16_t>(name.size()));
  PutU16(header, 0);  // extra field length
  PutText(header, name);
  Write(header);
  Write(packed);
  entries_.push_back(entry);
  names_.insert(name);
}

void ZipWriter::Finish() {
  const std::uint64_t directoryStart = position_;
  Bytes directory;
  for (const auto& entry : entries_) {
    PutU32(directory, zip::kCentralHeaderSignature);
    PutU16(directory, zip::kVersionMadeBy);
    PutU16(directory, zip::kVersionNeeded);
    PutU16(directory, zip::kFlagUtf8Names);
    PutU16(directory, zip::kMethodDeflate);
    PutU16(directory, entry.stamp.time);
    PutU16(directory, entry.stamp.date);
    PutU32(directory, entry.crc);
    PutU32(directory, entry.compressedSize);
    PutU32(directory, entry.size);
    PutU16(directory, static_cast<std::uint16_t>(entry.name.size()));
    PutU16(directory, 0);  // extra field length
    PutU16(directory, 0);  // comment length
    PutU16(directory, 0);  // disk number
    PutU16(directory, 0);  // internal attributes
    PutU32(directory, zip::kExternalArchiveBit);
    PutU32(directory, entry.offset);
    PutText(directory, entry.name);
  }
  if (directoryStart + directory.size() > zip::kMaxClassicSize) throw std::runtime_error("archive would exceed 4 GiB");
  Write(directory);

  Bytes end;
  const auto count = static_cast<std::uint16_t>(entries_.size());
  PutU32(end, zip::kEndOfCentralSignature);
  PutU16(end, 0);  // this disk
  PutU16(end, 0);  // disk with the directory
  PutU16(end, count);
  PutU16(end, count);
  PutU32(end, static_cast<std::uint32_t>(directory.size()));
  PutU32(end, static_cast<std::uint32_t>(directoryStart));
  PutU16(end, 0);  // archive comment length
  Write(end);
  out_.flush();
  if (!out_) throw std::runtime_error("write failed");
}

}  // namespace velmtools
