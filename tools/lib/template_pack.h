// Packs a template folder into a template archive.
#pragma once

#include <filesystem>

namespace velmtools {

// Writes every regular file below `folder` into `archive` (replaced
// atomically). Throws std::runtime_error naming the offending path when the
// folder cannot be packed; `archive` is then left as it was.
void PackTemplateFolder(const std::filesystem::path& folder, const std::filesystem::path& archive);

}  // namespace velmtools
