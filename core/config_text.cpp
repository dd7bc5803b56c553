#include "config_text.h"

namespace velmcore {
namespace {

bool isBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// Lines end at CR, LF or CR LF; a line end after the last line opens no new line.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string current;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        lines.push_back(current);
    }
    return lines;
}

bool belongsTo(const std::string& line, const std::string& keyText) {
    return line.compare(0, keyText.size(), keyText) == 0;
}

}  // namespace

std::string trimBlanksAndControls(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlankOrControl(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlankOrControl(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

ConfigText ConfigText::fromBytes(const std::string& bytes, const std::string& fileName) {
    DecodedText decoded = decodeText(bytes, fileName);
    ConfigText config;
    config.encoding_ = decoded.encoding;
    config.lines_ = splitLines(decoded.text);
    return config;
}

std::string ConfigText::toBytes() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += "\r\n";
    }
    return encodeText(text, encoding_);
}

size_t ConfigText::findLine(const std::string& keyText) const {
    size_t index = 0;
    while (index < lines_.size() && !belongsTo(lines_[index], keyText)) {
        ++index;
    }
    return index;
}

std::string ConfigText::value(const std::string& keyText) const {
    const size_t index = findLine(keyText);
    return index < lines_.size() ? trimBlanksAndControls(lines_[index].substr(keyText.size())) : std::string();
}

void ConfigText::setValue(const std::string& keyText, const std::string& value) {
    const size_t index = findLine(keyText);
    if (index < lines_.size()) {
        lines_[index] = keyText + value;
    } else {
        lines_.push_back(keyText + value);
    }
}

}  // namespace velmcore
