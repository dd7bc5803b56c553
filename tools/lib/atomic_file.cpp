#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>

namespace velmtools {

namespace {

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& target, const std::function<void(std::ostream&)>& write) {
  std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) throw std::runtime_error(target.string() + ": cannot create a temporary file: " + std::strerror(errno));
  const std::string temporary = pattern;
  auto fail = [&](const std::string& why) {
    ::unlink(temporary.c_str());
    throw std::runtime_error(target.string() + ": " + why);
  };
  // mkstemp makes the file private; the result should look like any new file.
  ::fchmod(fd, 0666 & ~CurrentUmask());
  ::close(fd);
  try {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) fail("cannot open the temporary file");
    write(out);
    out.close();
    if (!out) fail("write failed");
  } catch (...) {
    ::unlink(temporary.c_str());
    throw;
  }
  const int sync = ::open(temporary.c_str(), O_RDONLY);
  if (sync >= 0) {
    ::fsync(sync);
    ::close(sync);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) fail(std::string("cannot rename into place: ") + std::strerror(errno));
}

}  // namespace velmtools
