#pragma once
#include <string>

namespace velmcore {

// `name` when `folder` holds an entry of exactly that name or none that
// differs only in letter case; otherwise the one entry that matches ignoring
// ASCII case. Several such entries: `name`, since none is clearly meant.
std::string entryNameIgnoringCase(const std::string& folder, const std::string& name);

}  // namespace velmcore
