#include "atomic_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "error.hpp"

namespace qnet {

namespace {

std::string SystemReason() { return std::strerror(errno); }

}  // namespace

void WriteFileAtomically(const std::string& path, const std::string& content) {
  std::string temp = path + ".tmp" + std::to_string(::getpid());
  std::FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) throw Error(path + ": cannot write: " + SystemReason());
  bool written = std::fwrite(content.data(), 1, content.size(), file) == content.size();
  written = (std::fflush(file) == 0) && written;
  written = (::fsync(::fileno(file)) == 0) && written;
  std::string reason = SystemReason();
  written = (std::fclose(file) == 0) && written;
  if (!written) {
    std::remove(temp.c_str());
    throw Error(path + ": cannot write: " + reason);
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    reason = SystemReason();
    std::remove(temp.c_str());
    throw Error(path + ": cannot replace: " + reason);
  }
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw Error(path + ": cannot open: " + SystemReason());
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) throw Error(path + ": cannot read");
  return buffer.str();
}

}  // namespace qnet
