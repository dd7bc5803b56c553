// Little-endian field access for binary formats: appending to a buffer, and
// bounds-checked reading from one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmtools {

using Bytes = std::vector<std::uint8_t>;

inline void PutU16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutU32(Bytes& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

inline void PutText(Bytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

// A read-only view of a byte range; every read outside it yields nothing
// instead of touching memory past the end.
class ByteView {
 public:
  ByteView(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  std::size_t size() const { return size_; }
  const std::uint8_t* data() const { return data_; }

  bool Has(std::size_t offset, std::size_t length) const { return offset <= size_ && length <= size_ - offset; }

  std::optional<std::uint16_t> U16(std::size_t offset) const {
    if (!Has(offset, 2)) return std::nullopt;
    return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
  }

  std::optional<std::uint32_t> U32(std::size_t offset) const {
    if (!Has(offset, 4)) return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(data_[offset + i]) << (8 * i);
    return value;
  }

  std::optional<std::string> Text(std::size_t offset, std::size_t length) const {
    if (!Has(offset, length)) return std::nullopt;
    return std::string(reinterpret_cast<const char*>(data_ + offset), length);
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace velmtools
