#include "class_name_check.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace velmcore {
namespace {

constexpr size_t kMaxNameBytes = 255;

bool isReservedDeviceName(const std::string& name) {
    static const std::array<const char*, 22> reserved = {
        "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
        "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};
    std::string stem = name.substr(0, name.find('.'));
    std::transform(stem.begin(), stem.end(), stem.begin(), [](unsigned char c) { return std::toupper(c); });
    return std::any_of(reserved.begin(), reserved.end(), [&](const char* r) { return stem == r; });
}

}  // namespace

bool isSingleFolderName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

std::string classNameProblem(const std::string& name) {
    if (name.find_first_not_of(" .") == std::string::npos) {
        return "a class name needs a letter or digit; it cannot be empty or only blanks and dots";
    }
    if (name.find_first_of("/\\") != std::string::npos) {
        return "a class name cannot contain / or \\";
    }
    if (std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        return "a class name cannot contain control characters";
    }
    if (name.find_first_of("<>:\"|?*") != std::string::npos) {
        return "a class name cannot contain any of < > : \" | ? *";
    }
    if (name.back() == ' ' || name.back() == '.') {
        return "a class name cannot end with a blank or a dot";
    }
    if (isReservedDeviceName(name)) {
        return "a class name cannot be a device name such as CON, NUL, COM1 or LPT1";
    }
    if (name.size() > kMaxNameBytes) {
        return "a class name can be at most 255 bytes long";
    }
    return {};
}

}  // namespace velmcore
