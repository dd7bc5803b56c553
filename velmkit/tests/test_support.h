// Helpers shared by velmkit's tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace velmkit::testing {

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velmkit-test-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    if (made == nullptr) std::abort();
    FPath = made;
  }
  ~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(FPath, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

 private:
  std::string FPath;
};

inline void WriteText(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out << text;
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

inline std::string FixturePath(const std::string& name) { return std::string(VELMKIT_FIXTURES) + "/" + name; }

}  // namespace velmkit::testing
