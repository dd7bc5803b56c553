#include "entry_runner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

extern char** environ;

namespace velmhost {

namespace fs = std::filesystem;

fs::path PosixTwin(const fs::path& script) {
  fs::path twin = script;
  return twin.replace_extension(".sh");
}

namespace {

std::optional<std::string> FindOnPath(const std::string& program, const EnvironmentLookup& environment) {
  const auto path = environment("PATH");
  if (!path) return std::nullopt;
  std::stringstream folders(*path);
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    if (folder.empty()) continue;
    const fs::path candidate = fs::path(folder) / program;
    if (::access(candidate.c_str(), X_OK) == 0 && fs::is_regular_file(candidate)) return candidate.string();
  }
  return std::nullopt;
}

// The command that runs a script: its "#!" line when it has one (the file
// may have lost its executable bit in an archive), else /bin/sh.
std::vector<std::string> Interpreter(const fs::path& script) {
  std::ifstream in(script);
  std::string first;
  std::getline(in, first);
  if (!first.empty() && first.back() == '\r') first.pop_back();
  if (first.rfind("#!", 0) == 0) {
    std::stringstream words(first.substr(2));
    std::vector<std::string> command;
    std::string word;
    while (words >> word) command.push_back(word);
    // The kernel passes everything after the interpreter as one argument.
    if (command.size() > 2) {
      std::string rest;
      for (std::size_t i = 1; i < command.size(); ++i) rest += (i > 1 ? " " : "") + command[i];
      command = {command[0], rest};
    }
    if (!command.empty()) return command;
  }
  return {"/bin/sh"};
}

std::string TimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}

// Opens <project>/log/<entry>.log for appending, refusing links anywhere on
// the way, so that a project cannot point its log at another file.
int OpenLog(const fs::path& projectFolder, const std::string& entryName) {
  const int project = ::open(projectFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (project < 0) throw RunnerError(projectFolder.string() + ": " + std::strerror(errno));
  ::mkdirat(project, "log", 0777);
  const int logFolder = ::openat(project, "log", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  ::close(project);
  if (logFolder < 0) throw RunnerError((projectFolder / "log").string() + ": not a folder: " + std::strerror(errno));
  const std::string name = entryName + ".log";
  const int log = ::openat(logFolder, name.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0666);
  ::close(logFolder);
  if (log < 0) throw RunnerError((projectFolder / "log" / name).string() + ": " + std::strerror(errno));
  return log;
}

class LineWriter {
 public:
  LineWriter(std::ostream& console, int log) : console_(console), log_(log) {}

  void Write(const std::string& line) {
    const std::string stamped = "[" + TimeStamp() + "] " + line + "\n";
    console_ << stamped << std::flush;
    std::size_t done = 0;
    while (done < stamped.size()) {
      const ssize_t wrote = ::write(log_, stamped.data() + done, stamped.size() - done);
      if (wrote < 0 && errno == EINTR) continue;
      if (wrote <= 0) break;  // a full disk must not stop the build
      done += static_cast<std::size_t>(wrote);
    }
  }

  void Feed(const char* data, std::size_t size) {
    pending_.append(data, size);
    std::size_t newline;
    while ((newline = pending_.find('\n')) != std::string::npos) {
      Emit(pending_.substr(0, newline));
      pending_.erase(0, newline + 1);
    }
  }

  void Finish() {
    if (!pending_.empty()) Emit(pending_);
    pending_.clear();
  }

 private:
  void Emit(std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Write(line);
  }

  std::ostream& console_;
  int log_;
  std::string pending_;
};

bool IsInside(const fs::path& file, const fs::path& folder) {
  std::error_code error;
  const fs::path relative = fs::weakly_canonical(file, error).lexically_relative(fs::canonical(folder, error));
  return !error && !relative.empty() && *relative.begin() != "..";
}

}  // namespace

std::vector<std::pair<std::string, std::string>> ScriptEnvironment(const EnvironmentLookup& environment,
                                                                   const std::string& defaultHome) {
  const auto given = environment("VELM_HOME");
  const fs::path home = given && !given->empty() ? fs::path(*given) : fs::path(defaultHome);
  std::vector<std::pair<std::string, std::string>> variables = {{"VELM_HOME", home.string()}};
  const fs::path python = home / ".venv" / "bin" / "python";
  if (fs::exists(python)) variables.emplace_back("VELM_PYTHON", python.string());
  if (auto node = FindOnPath("node", environment)) variables.emplace_back("VELM_NODE", *node);
  variables.emplace_back("NODE_PATH", (home / "node_modules").string());
  // Python buffers a pipe; the console should show progress as it happens.
  variables.emplace_back("PYTHONUNBUFFERED", "1");
  return variables;
}

int RunEntry(const EntryRun& run, std::ostream& console, const EnvironmentLookup& environment,
             const std::string& defaultHome) {
  if (run.entryName.empty() || run.entryName == "." || run.entryName == ".." ||
      run.entryName.find('/') != std::string::npos) {
    throw RunnerError("build entry '" + run.entryName + "' is not a plain name");
  }
  const fs::path script = PosixTwin(run.script);
  if (!fs::is_regular_file(script)) {
    throw RunnerError(script.string() + ": no script for entry '" + run.entryName + "' on this platform");
  }
  if (!IsInside(script, run.projectFolder)) throw RunnerError(script.string() + ": lies outside the project folder");

  // Everything the child needs is prepared before fork: after it, only
  // async-signal-safe calls are allowed.
  std::vector<std::string> arguments = Interpreter(script);
  arguments.push_back(script.string());
  std::vector<char*> argv;
  for (auto& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  const auto added = ScriptEnvironment(environment, defaultHome);
  std::vector<std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::string name = text.substr(0, text.find('='));
    bool replaced = false;
    for (const auto& [key, value] : added) replaced = replaced || key == name;
    if (!replaced) variables.push_back(text);
  }
  for (const auto& [key, value] : added) variables.push_back(key + "=" + value);
  std::vector<char*> envp;
  for (auto& variable : variables) envp.push_back(variable.data());
  envp.push_back(nullptr);
  const std::string folder = run.projectFolder.string();
  const std::string cannotRun = "cannot run " + arguments.front() + "\n";

  const int log = OpenLog(run.projectFolder, run.entryName);
  LineWriter writer(console, log);
  writer.Write("== " + run.entryName + ": " + script.filename().string() + " started");

  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    ::close(log);
    throw RunnerError(std::string("cannot create a pipe: ") + std::strerror(errno));
  }
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    ::close(log);
    throw RunnerError(std::string("cannot start the script: ") + std::strerror(errno));
  }
  if (child == 0) {
    const int nothing = ::open("/dev/null", O_RDONLY);
    if (nothing >= 0) ::dup2(nothing, STDIN_FILENO);
    ::dup2(pipeFds[1], STDOUT_FILENO);
    ::dup2(pipeFds[1], STDERR_FILENO);
    if (::chdir(folder.c_str()) != 0) ::_exit(126);
    ::execve(argv[0], argv.data(), envp.data());
    // A "#!/usr/bin/env bash" line names its interpreter by path; a bare name
    // would need a PATH search, which execve does not do.
    ::execvpe(argv[0], argv.data(), envp.data());
    [[maybe_unused]] const auto ignored = ::write(STDERR_FILENO, cannotRun.data(), cannotRun.size());
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  char buffer[4096];
  while (true) {
    const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    writer.Feed(buffer, static_cast<std::size_t>(got));
  }
  writer.Finish();
  ::close(pipeFds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  writer.Write("== " + run.entryName + ": exit status " + std::to_string(exitStatus));
  ::close(log);
  return exitStatus;
}

}  // namespace velmhost
