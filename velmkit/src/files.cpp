#include "velmkit/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <sstream>

namespace velmkit {
namespace {

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

// A new, empty temporary file beside `target`; its name in `tempName`.
int CreateTempBeside(const std::string& target, std::string& tempName) {
  tempName = target + ".velm-XXXXXX";
  return mkstemp(tempName.data());
}

mode_t DefaultFileMode() {
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CreateDir(const std::string& path) { return !path.empty() && mkdir(path.c_str(), 0777) == 0; }

bool ReadWholeFile(const std::string& path, std::string& content) {
  if (!FileExists(path)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return false;
  content = buffer.str();
  return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& content) {
  std::string tempName;
  int fd = CreateTempBeside(path, tempName);
  if (fd < 0) return false;
  struct stat existing {};
  mode_t mode = stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : DefaultFileMode();
  bool ok = fchmod(fd, mode) == 0 && WriteAll(fd, content.data(), content.size()) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok && rename(tempName.c_str(), path.c_str()) == 0) return true;
  unlink(tempName.c_str());
  return false;
}

bool CopyFileNoOverwrite(const std::string& source, const std::string& target) {
  if (!FileExists(source)) return false;
  int in = open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  std::string tempName;
  int out = CreateTempBeside(target, tempName);
  if (out < 0) {
    close(in);
    return false;
  }
  bool ok = fchmod(out, DefaultFileMode()) == 0;
  char buffer[1 << 16];
  while (ok) {
    ssize_t got = read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    ok = WriteAll(out, buffer, static_cast<size_t>(got));
  }
  close(in);
  ok = close(out) == 0 && ok;
  // link() refuses an existing name, whenever it appeared.
  ok = ok && link(tempName.c_str(), target.c_str()) == 0;
  unlink(tempName.c_str());
  return ok;
}

}  // namespace velmkit
