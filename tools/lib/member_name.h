// Rules for the names of template archive members: relative, forward-slash
// separated, valid UTF-8, and safe to unpack on both Windows and Linux.
#pragma once

#include <optional>
#include <string>

namespace velmtools {

// The reason `name` is not an acceptable member name, or nothing when it is.
std::optional<std::string> MemberNameProblem(const std::string& name);

bool IsValidUtf8(const std::string& text);

}  // namespace velmtools
