#include <spawn.h>
#include <sys/wait.h>

#include "host_hooks.h"

extern char** environ;

namespace velmkit::hooks {

void OpenWithDesktop(const std::string& address) {
  // An address that starts with '-' would be taken for an option.
  if (address.empty() || address[0] == '-') return;
  std::string program = "xdg-open";
  std::string argument = address;
  char* argv[] = {program.data(), argument.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0) return;
  int status = 0;
  waitpid(pid, &status, 0);
}

}  // namespace velmkit::hooks
