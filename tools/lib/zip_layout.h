// Byte layout of the ZIP records that template archives use, and the values
// every template archive must carry. Shared by the writer and the verifier so
// that the two can never drift apart.
#pragma once

#include <cstdint>

namespace velmtools::zip {

constexpr std::uint32_t kLocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t kCentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t kEndOfCentralSignature = 0x06054b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;

constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kEndOfCentralSize = 22;

// Required member properties.
constexpr std::uint16_t kVersionMadeBy = 20;  // host 0 (MS-DOS) in the high byte
constexpr std::uint16_t kVersionNeeded = 20;
constexpr std::uint16_t kFlagUtf8Names = 0x0800;
constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
constexpr std::uint16_t kMethodDeflate = 8;
constexpr std::uint32_t kExternalArchiveBit = 0x20;

constexpr std::uint32_t kMaxClassicSize = 0xFFFFFFFFu;  // beyond this ZIP64 would be needed
constexpr std::uint16_t kMaxClassicCount = 0xFFFF;

}  // namespace velmtools::zip
