#include "text_encoding.h"

#include <stdexcept>

namespace velmcore {
namespace {

const std::string kUtf8Bom = "\xEF\xBB\xBF";
const std::string kUtf16LEBom = "\xFF\xFE";
const std::string kUtf16BEBom = "\xFE\xFF";

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string utf16ToUtf8(const std::string& bytes, size_t offset, bool bigEndian) {
    std::string out;
    auto unitAt = [&](size_t i) -> char16_t {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
    };
    for (size_t i = offset; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = unitAt(i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            const char16_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                appendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(low) - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, unit);  // lone surrogates pass through unchanged
    }
    return out;
}

void appendUnit(std::string& out, char32_t unit, bool bigEndian) {
    const auto hi = static_cast<char>((unit >> 8) & 0xFF);
    const auto lo = static_cast<char>(unit & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
}

// Decodes what utf16ToUtf8 produced, plus any valid UTF-8 typed by the user;
// a stray byte that is not UTF-8 is carried over as the code unit of its value.
std::string utf8ToUtf16(const std::string& text, bool bigEndian) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        size_t length = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
        bool valid = length > 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        }
        if (!valid) {
            appendUnit(out, b, bigEndian);
            ++i;
            continue;
        }
        char32_t cp = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
        for (size_t k = 1; k < length; ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            appendUnit(out, 0xD800 + (cp >> 10), bigEndian);
            appendUnit(out, 0xDC00 + (cp & 0x3FF), bigEndian);
        } else {
            appendUnit(out, cp, bigEndian);
        }
        i += length;
    }
    return out;
}

}  // namespace

DecodedText decodeText(const std::string& bytes, const std::string& fileName) {
    const bool le = startsWith(bytes, kUtf16LEBom);
    const bool be = startsWith(bytes, kUtf16BEBom);
    if (le || be) {
        if (bytes.size() % 2 != 0) {
            throw std::runtime_error(fileName + ": UTF-16 text with an odd number of bytes; the file is left as it is");
        }
        return {le ? TextEncoding::Utf16LE : TextEncoding::Utf16BE, utf16ToUtf8(bytes, 2, be)};
    }
    if (startsWith(bytes, kUtf8Bom)) {
        return {TextEncoding::Utf8Bom, bytes.substr(kUtf8Bom.size())};
    }
    return {TextEncoding::EightBit, bytes};
}

std::string encodeText(const std::string& text, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return kUtf8Bom + text;
    case TextEncoding::Utf16LE:
        return kUtf16LEBom + utf8ToUtf16(text, false);
    case TextEncoding::Utf16BE:
        return kUtf16BEBom + utf8ToUtf16(text, true);
    case TextEncoding::EightBit:
        break;
    }
    return text;
}

}  // namespace velmcore
