#pragma once
// Text files that the modules edit keep the encoding they came in: a UTF-8 or
// UTF-16 byte-order mark is honoured and written back, a file without one is
// 8-bit text, which on Linux is taken byte for byte (the locale is UTF-8).
#include <string>

namespace velmcore {

enum class TextEncoding { EightBit, Utf8Bom, Utf16LE, Utf16BE };

struct DecodedText {
    TextEncoding encoding = TextEncoding::EightBit;
    std::string text;  // UTF-8; lone UTF-16 surrogates kept as 3-byte sequences
};

// Throws std::runtime_error (naming `fileName`) on a UTF-16 file with an odd
// number of bytes, so that a damaged file is never rewritten.
DecodedText decodeText(const std::string& bytes, const std::string& fileName);
std::string encodeText(const std::string& text, TextEncoding encoding);

}  // namespace velmcore
