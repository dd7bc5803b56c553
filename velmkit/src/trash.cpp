#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "velmkit/files.h"

namespace fs = std::filesystem;

namespace velmkit {
namespace {

// Percent-encodes a path as the trash info's Path key wants it (RFC 2396
// escaping, '/' kept).
std::string EncodePath(const std::string& path) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (char ch : path) {
    auto c = static_cast<unsigned char>(ch);
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                 std::string("/-_.!~*'()").find(static_cast<char>(c)) != std::string::npos;
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 0xF];
    }
  }
  return out;
}

std::string LocalTimeNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  return text;
}

bool MakeFolders(const std::string& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  return fs::is_directory(folder, error);
}

// The device of `path`, or of its nearest existing ancestor.
bool DeviceOf(fs::path path, dev_t& device) {
  struct stat info {};
  while (stat(path.c_str(), &info) != 0) {
    if (!path.has_relative_path()) return false;
    path = path.parent_path();
  }
  device = info.st_dev;
  return true;
}

// The highest folder above `path` on the same file system.
fs::path TopDirOf(const fs::path& path, dev_t device) {
  fs::path top = path;
  while (top.has_relative_path()) {
    fs::path parent = top.parent_path();
    struct stat info {};
    if (stat(parent.c_str(), &info) != 0 || info.st_dev != device) break;
    top = parent;
  }
  return top;
}

// A topdir trash that is fit for use: a real folder, writable, not shared
// through a link.
std::string TopDirTrash(const fs::path& top) {
  const std::string uid = std::to_string(getuid());
  const std::string shared = (top / ".Trash").string();
  struct stat info {};
  if (lstat(shared.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX) != 0) {
    return shared + "/" + uid;
  }
  return (top / (".Trash-" + uid)).string();
}

}  // namespace

std::string TrashFolder() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != nullptr && dataHome[0] == '/') return std::string(dataHome) + "/Trash";
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.local/share/Trash";
}

std::string TrashFolderFor(const std::string& path) {
  std::error_code error;
  fs::path absolute = fs::absolute(fs::path(path), error).lexically_normal();
  std::string home = TrashFolder();
  dev_t pathDevice = 0;
  dev_t homeDevice = 0;
  if (error || !DeviceOf(absolute, pathDevice) || !DeviceOf(home, homeDevice) || pathDevice == homeDevice) return home;
  return TopDirTrash(TopDirOf(absolute, pathDevice));
}

bool MoveToTrash(const std::string& path) {
  std::error_code error;
  fs::path absolute = fs::absolute(fs::path(path), error).lexically_normal();
  if (error || !fs::exists(fs::symlink_status(absolute, error))) return false;
  std::string original = absolute.string();
  while (original.size() > 1 && original.back() == '/') original.pop_back();
  const std::string baseName = fs::path(original).filename().string();
  if (baseName.empty() || original == "/") return false;

  const std::string trash = TrashFolderFor(original);
  if (!MakeFolders(trash)) return false;
  if (trash != TrashFolder()) {
    // A trash of our own that others can neither look into nor swap for a link.
    struct stat info {};
    if (lstat(trash.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid()) return false;
    chmod(trash.c_str(), 0700);
  }
  if (!MakeFolders(trash + "/files") || !MakeFolders(trash + "/info")) return false;

  // The info file is claimed first (O_EXCL): its name reserves the name in files/.
  for (int number = 1; number < 10000; ++number) {
    std::string name = number == 1 ? baseName : baseName + "." + std::to_string(number);
    std::string infoPath = trash + "/info/" + name + ".trashinfo";
    int fd = open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    std::string info = "[Trash Info]\nPath=" + EncodePath(original) + "\nDeletionDate=" + LocalTimeNow() + "\n";
    bool written = write(fd, info.data(), info.size()) == static_cast<ssize_t>(info.size());
    written = close(fd) == 0 && written;
    std::string target = trash + "/files/" + name;
    if (written && renameat2(AT_FDCWD, original.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
      return true;
    }
    int cause = errno;
    unlink(infoPath.c_str());
    // A stray entry in files/ without its info: try the next name.
    if (written && cause == EEXIST) continue;
    return false;
  }
  return false;
}

}  // namespace velmkit
