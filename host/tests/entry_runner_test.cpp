#include "entry_runner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "fake_environment.h"
#include "temp_folder.h"

namespace velmhost {
namespace {

namespace fs = std::filesystem;
using testing::FakeEnvironment;
using velmtools::testing::ReadFile;
using velmtools::testing::TempFolder;

class EntryRunner : public ::testing::Test {
 protected:
  TempFolder project;
  TempFolder home;
  std::ostringstream console;

  int Run(const std::string& script) {
    project.Write("train_all.bat", "@echo off\r\npython train.py\r\n");
    project.Write("train_all.sh", script);
    const auto environment = FakeEnvironment({{"PATH", "/usr/bin:/bin"}, {"VELM_HOME", home.path().string()}});
    return RunEntry({"train_all", project.path() / "train_all.bat", project.path()}, console, environment, "/nowhere");
  }
};

TEST_F(EntryRunner, RunsTheTwinScriptInTheProjectAndReturnsItsStatus) {
  const int status = Run("echo step one\nprintf 'windows line\\r\\n'\necho to stderr >&2\npwd\nprintf 'no newline'\nexit 3\n");

  EXPECT_EQ(status, 3);
  const std::string out = console.str();
  const std::string folder = fs::canonical(project.path()).string();
  for (const std::string line : {"step one", "windows line", "to stderr", folder.c_str(), "no newline", "== train_all: exit status 3"}) {
    EXPECT_TRUE(std::regex_search(out, std::regex("\\[\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\] " + std::regex_replace(line, std::regex(R"([.^$|()\[\]{}*+?\\/])"), R"(\$&)") + "\n")))
        << "missing stamped line '" << line << "' in:\n" << out;
  }
  EXPECT_THAT(out, ::testing::Not(::testing::HasSubstr("\r")));
  EXPECT_EQ(ReadFile(project.path() / "log" / "train_all.log"), out);
}

TEST_F(EntryRunner, AppendsToTheLogAcrossRuns) {
  EXPECT_EQ(Run("echo first\n"), 0);
  EXPECT_EQ(Run("echo second\nexit 1\n"), 1);
  const std::string log = ReadFile(project.path() / "log" / "train_all.log");
  EXPECT_LT(log.find("first"), log.find("second"));
  EXPECT_THAT(log, ::testing::HasSubstr("exit status 0"));
  EXPECT_THAT(log, ::testing::HasSubstr("exit status 1"));
}

TEST_F(EntryRunner, GivesTheScriptTheRuntimeVariables) {
  fs::create_directories(home.path() / ".venv" / "bin");
  home.Write(".venv/bin/python", "");
  Run("echo \"python=$VELM_PYTHON\"\necho \"node_path=$NODE_PATH\"\necho \"home=$VELM_HOME\"\n");
  const std::string out = console.str();
  EXPECT_THAT(out, ::testing::HasSubstr("python=" + (home.path() / ".venv/bin/python").string() + "\n"));
  EXPECT_THAT(out, ::testing::HasSubstr("node_path=" + (home.path() / "node_modules").string() + "\n"));
  EXPECT_THAT(out, ::testing::HasSubstr("home=" + home.path().string() + "\n"));
}

TEST_F(EntryRunner, HonoursTheScriptsInterpreterLine) {
  EXPECT_EQ(Run("#!/bin/bash\nwords=(a b c)\necho \"count=${#words[@]}\"\n"), 0);
  EXPECT_THAT(console.str(), ::testing::HasSubstr("count=3\n"));
}

TEST_F(EntryRunner, ReportsASignalAs128PlusItsNumber) {
  EXPECT_EQ(Run("kill -9 $$\n"), 137);
}

TEST_F(EntryRunner, RefusesAMissingTwinOrALinkedLog) {
  project.Write("train_qnet.bat", "python train_qnet.py\r\n");
  const auto environment = FakeEnvironment({});
  EXPECT_THROW(RunEntry({"train_qnet", project.path() / "train_qnet.bat", project.path()}, console, environment, "/x"), RunnerError);

  TempFolder elsewhere;
  fs::create_symlink(elsewhere.path(), project.path() / "log");
  try {
    Run("echo hi\n");
    FAIL() << "log written through a link";
  } catch (const RunnerError& error) {
    EXPECT_THAT(error.what(), ::testing::HasSubstr("log"));
  }
  EXPECT_TRUE(fs::is_empty(elsewhere.path()));
}

TEST(PosixTwin, MapsBatchFilesToShellScripts) {
  EXPECT_EQ(PosixTwin("/p/train_all.bat"), "/p/train_all.sh");
  EXPECT_EQ(PosixTwin("/p/train_keras_with_qnet.BAT"), "/p/train_keras_with_qnet.sh");
  EXPECT_EQ(PosixTwin("/p/run.sh"), "/p/run.sh");
}

}  // namespace
}  // namespace velmhost
