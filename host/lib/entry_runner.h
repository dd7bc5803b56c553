// Runs a project's build entry: the POSIX twin of its batch script, in the
// project folder, with its output time-stamped on the console and in the
// project's log.
#pragma once

#include <filesystem>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "publish_target.h"

namespace velmhost {

class RunnerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct EntryRun {
  std::string entryName;                 // names the log file log/<entry>.log
  std::filesystem::path script;          // the entry's file, e.g. train_all.bat
  std::filesystem::path projectFolder;   // current folder of the script
};

// The script that runs on this platform for a build entry's file: the same
// name with ".sh" (a ".sh" file stands for itself).
std::filesystem::path PosixTwin(const std::filesystem::path& script);

// The variables the templates' scripts rely on, added to the environment:
// VELM_HOME, VELM_PYTHON (<home>/.venv/bin/python when it exists), VELM_NODE
// (node on PATH) and NODE_PATH (<home>/node_modules). The home is VELM_HOME
// from `environment`, else `defaultHome`.
std::vector<std::pair<std::string, std::string>> ScriptEnvironment(const EnvironmentLookup& environment,
                                                                   const std::string& defaultHome);

// Runs the entry and returns its exit status (128 + signal number when a
// signal ended it). Throws RunnerError when the script is missing, lies
// outside the project folder, or cannot be started.
int RunEntry(const EntryRun& run, std::ostream& console, const EnvironmentLookup& environment,
             const std::string& defaultHome);

}  // namespace velmhost
