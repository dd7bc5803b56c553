// A real FTP server on the loopback interface, serving a folder, for as
// long as the object lives.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace velmhost::testing {

class FtpServer {
 public:
  // With a certificate file the server requires explicit TLS.
  FtpServer(const std::filesystem::path& root, const std::string& user, const std::string& password,
            const std::string& certificate = "") {
    int fds[2];
    if (::pipe(fds) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(fds[1], STDOUT_FILENO);
      ::close(fds[0]);
      if (certificate.empty()) {
        ::execl("/usr/bin/python3", "python3", FTP_SERVER_SCRIPT, root.c_str(), user.c_str(), password.c_str(), nullptr);
      } else {
        ::execl("/usr/bin/python3", "python3", FTP_SERVER_SCRIPT, root.c_str(), user.c_str(), password.c_str(),
                certificate.c_str(), nullptr);
      }
      ::_exit(127);
    }
    ::close(fds[1]);
    std::string line;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n') line += c;
    ::close(fds[0]);
    port_ = line.empty() ? 0 : std::stoi(line);
  }
  ~FtpServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  int port() const { return port_; }

 private:
  pid_t pid_ = -1;
  int port_ = 0;
};

}  // namespace velmhost::testing
