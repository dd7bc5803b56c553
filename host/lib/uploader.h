// Copies a project's public files to a publishing target.
#pragma once

#include <string>
#include <vector>

#include "publish_target.h"

namespace velmhost {

struct UploadFile {
  std::string absolutePath;
  std::string relativePath;  // '/' separators, inside the public folder
};

struct UploadResult {
  bool ok = false;
  std::string error;  // names the file and the cause; never holds the password
};

// Refuses the whole list, before anything is sent, when a relative path is
// absolute, climbs with "..", or holds a backslash.
UploadResult Upload(const std::vector<UploadFile>& files, const PublishTarget& target, const PublishSettings& account);

}  // namespace velmhost
