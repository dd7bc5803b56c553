#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "velmkit/items.h"

namespace velmkit {

std::string ResolveProjectPath(const std::string& projectFolder, const std::string& fileName) {
  std::string name = fileName;
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  if (!name.empty() && name[0] == '/') return "";
  if (name.size() >= 2 && name[1] == ':') return "";  // a drive letter

  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    std::string part = name.substr(start, end - start);
    // Any climb is refused, even one that would come back: the descriptor
    // never needs it, and a refused name cannot be misread later.
    if (part == "..") return "";
    if (!part.empty() && part != ".") parts.push_back(part);
    start = end + 1;
  }

  std::string result = projectFolder;
  while (result.size() > 1 && result.back() == '/') result.pop_back();
  for (const std::string& part : parts) result += '/' + part;
  return result;
}

bool IsInsideFolder(const std::string& folder, const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path base = fs::weakly_canonical(fs::path(folder), error);
  if (error) return false;
  fs::path target = fs::weakly_canonical(fs::path(path), error);
  if (error) return false;
  auto baseEnd = base.end();
  if (!base.empty() && base.filename().empty()) --baseEnd;  // a trailing '/'
  auto [mismatch, rest] = std::mismatch(base.begin(), baseEnd, target.begin(), target.end());
  (void)rest;
  return mismatch == baseEnd;
}

}  // namespace velmkit
