#include "option_rules.h"

#include <algorithm>

#include "config_text.h"

namespace velmcore {

OptionRole roleOfTag(int tag) {
    if (tag >= 10 && tag <= 12) {
        return OptionRole::Path;
    }
    if (tag >= 13 && tag <= 15) {
        return OptionRole::Number;
    }
    if (tag == 16 || tag == 17) {
        return OptionRole::Epoch;
    }
    return OptionRole::None;
}

std::optional<std::string> storedValueOf(int tag, const std::string& editText) {
    const std::string text = trimBlanksAndControls(editText);
    switch (roleOfTag(tag)) {
    case OptionRole::Path: {
        const bool unsafe = std::any_of(text.begin(), text.end(), [](char c) {
            return c == '"' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
        });
        if (unsafe) {
            return std::nullopt;
        }
        std::string forward = text;
        std::replace(forward.begin(), forward.end(), '\\', '/');
        return '"' + forward + '"';
    }
    case OptionRole::Number:
    case OptionRole::Epoch: {
        const bool digits =
            !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!digits) {
            return std::nullopt;
        }
        return text;
    }
    case OptionRole::None:
        break;
    }
    return std::nullopt;
}

bool pathValueIsMissing(const std::string& storedValue) {
    return storedValue.size() < 3;
}

std::string pathShownFromStored(const std::string& storedValue) {
    return storedValue.substr(1, storedValue.size() - 2);
}

}  // namespace velmcore
