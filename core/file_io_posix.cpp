#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace velmcore {
namespace {

[[noreturn]] void fail(const std::string& what, const std::string& path, int error) {
    throw std::runtime_error(what + " " + path + ": " + std::strerror(error));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

}  // namespace

std::string readWholeFile(const std::string& path) {
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        fail("cannot open", path, errno);
    }
    std::string bytes;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("cannot read", path, errno);
        }
        if (n == 0) {
            return bytes;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
}

void replaceFile(const std::string& path, const std::string& bytes) {
    std::string pattern = path + ".tmp-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    Descriptor fd(::mkstemp(name.data()));
    if (fd.get() < 0) {
        fail("cannot create a temporary file beside", path, errno);
    }
    const std::string tempPath(name.data());
    auto abandon = [&](const char* what) {
        const int error = errno;
        ::close(fd.release());
        ::unlink(tempPath.c_str());
        fail(what, path, error);
    };
    struct stat original {};
    if (::stat(path.c_str(), &original) == 0 && ::fchmod(fd.get(), original.st_mode & 07777) != 0) {
        abandon("cannot keep the permissions of");
    }
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            abandon("cannot write");
        }
        written += static_cast<size_t>(n);
    }
    if (::fsync(fd.get()) != 0) {
        abandon("cannot flush");
    }
    if (::close(fd.release()) != 0) {
        const int error = errno;
        ::unlink(tempPath.c_str());
        fail("cannot close", path, error);
    }
    if (::rename(tempPath.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(tempPath.c_str());
        fail("cannot replace", path, error);
    }
}

}  // namespace velmcore
