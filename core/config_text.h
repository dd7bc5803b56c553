#pragma once
// The project's training settings file as the form sees it: lines of
// "key = value", where a key text is the key name followed by " = " and a
// line belongs to it only when it starts with exactly that text.
#include <string>
#include <vector>

#include "text_encoding.h"

namespace velmcore {

// Drops every character up to U+0020 (blanks and control characters) from both ends.
std::string trimBlanksAndControls(const std::string& text);

class ConfigText {
public:
    ConfigText() = default;
    // Throws std::runtime_error naming `fileName` when the bytes cannot be decoded.
    static ConfigText fromBytes(const std::string& bytes, const std::string& fileName);
    // Every line closed by CR LF, in the encoding the text came in.
    std::string toBytes() const;

    // The trimmed rest of the first line that belongs to `keyText`, or "".
    std::string value(const std::string& keyText) const;
    // Replaces the first line that belongs to `keyText`, or appends one.
    void setValue(const std::string& keyText, const std::string& value);

    const std::vector<std::string>& lines() const { return lines_; }

private:
    size_t findLine(const std::string& keyText) const;  // lines_.size() when none

    TextEncoding encoding_ = TextEncoding::EightBit;
    std::vector<std::string> lines_;
};

}  // namespace velmcore
