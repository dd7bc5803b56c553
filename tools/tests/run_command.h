// Runs a shell command line and collects its exit status and output
// (standard output and standard error together).
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

namespace velmtools::testing {

struct Outcome {
  int status;
  std::string output;
};

inline Outcome RunCommand(const std::string& command) {
  Outcome outcome{-1, {}};
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return outcome;
  std::array<char, 512> buffer{};
  while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) outcome.output += buffer.data();
  const int raw = ::pclose(pipe);
  outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return outcome;
}

// Single-quoted for the shell.
inline std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline std::string Quote(const std::filesystem::path& path) { return Quote(path.string()); }

}  // namespace velmtools::testing
