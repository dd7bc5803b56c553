// velm as a person runs it, against the module libraries of this build.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <httplib.h>

#include <regex>

#include "fixture_project.h"
#include "ftp_server.h"
#include "run_command.h"
#include "temp_folder.h"

namespace velmhost {
namespace {

namespace fs = std::filesystem;
using testing::FtpServer;
using testing::WriteFixtureProject;
using velmtools::testing::Outcome;
using velmtools::testing::Quote;
using velmtools::testing::ReadFile;
using velmtools::testing::RunCommand;
using velmtools::testing::TempFolder;

std::vector<std::string> BuiltModules() {
  std::vector<std::string> kinds;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(VELM_MODULES_DIR, error)) {
    if (entry.path().extension() == ".so") kinds.push_back(entry.path().stem().string());
  }
  std::sort(kinds.begin(), kinds.end());
  return kinds;
}

bool HasModule(const std::string& kind) { return fs::exists(fs::path(VELM_MODULES_DIR) / (kind + ".so")); }

class Velm : public ::testing::Test {
 protected:
  TempFolder work;

  // Runs velm with its own module path, data folder and home, so that
  // nothing of the person running the tests is read or changed.
  Outcome Run(const std::string& arguments, const std::string& environment = "") const {
    return RunCommand("env -u VELM_PUBLISH_HOST -u VELM_PUBLISH_PORT -u VELM_PUBLISH_LOGIN -u VELM_PUBLISH_PASSWORD "
                      "-u VELM_PUBLIC_URL_BASE VELM_MODULE_PATH=" + Quote(std::string(VELM_MODULES_DIR)) +
                      " XDG_DATA_HOME=" + Quote(work.path() / "data") + " HOME=" + Quote(work.path()) + " " +
                      environment + " " + Quote(std::string(VELM_PROGRAM)) + " " + arguments + " </dev/null");
  }

  fs::path Project() const { return work.path() / "demo"; }
  std::string ProjectArgument() const { return Quote(Project()); }
};

TEST_F(Velm, KindsListsEveryModuleWithItsNames) {
  const auto kinds = BuiltModules();
  if (kinds.empty()) GTEST_SKIP() << "no module libraries in this build";
  const Outcome outcome = Run("kinds");
  ASSERT_EQ(outcome.status, 0) << outcome.output;
  std::vector<std::string> listed;
  std::istringstream lines(outcome.output);
  std::string line;
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::istringstream parts(line);
    std::string field;
    while (std::getline(parts, field, '\t')) fields.push_back(field);
    ASSERT_EQ(fields.size(), 4u) << line;
    EXPECT_FALSE(fields[2].empty()) << "no component name: " << line;
    EXPECT_FALSE(fields[3].empty()) << "no product name: " << line;
    listed.push_back(fields[0]);
  }
  EXPECT_EQ(listed, kinds);
}

TEST_F(Velm, NewUnpacksEachModulesTemplateAndShowsItsTree) {
  const auto kinds = BuiltModules();
  if (kinds.empty()) GTEST_SKIP() << "no module libraries in this build";
  for (const auto& kind : kinds) {
    const fs::path folder = work.path() / ("project-" + kind);
    const Outcome created = Run("new " + kind + " " + Quote(folder));
    ASSERT_EQ(created.status, 0) << kind << ":\n" << created.output;
    EXPECT_THAT(ReadFile(folder / "pwa.pwa"), ::testing::HasSubstr("<PluginModule>" + kind + ".dll</PluginModule>")) << kind;

    const Outcome tree = Run("tree " + Quote(folder));
    ASSERT_EQ(tree.status, 0) << kind << ":\n" << tree.output;
    EXPECT_THAT(tree.output, ::testing::StartsWith("project-" + kind + " [TPubFrame]\n")) << kind;
    EXPECT_THAT(tree.output, ::testing::HasSubstr("config [TLocContainer] config.py\n")) << kind;

    const Outcome again = Run("new " + kind + " " + Quote(folder));
    EXPECT_EQ(again.status, 1) << kind;
    EXPECT_THAT(again.output, ::testing::HasSubstr("exists and is not an empty folder")) << kind;
  }
}

TEST_F(Velm, ReportsWhatItCannotWorkWith) {
  work.Write("plain/readme.txt", "no project here");
  WriteFixtureProject(work, "broken-module", "broken.dll");
  WriteFixtureProject(work, "ghost-module", "ghost.dll");
  work.Write("modules/broken.so", "this is no shared library");
  const std::string ownModules = "VELM_MODULE_PATH=" + Quote(work.path() / "modules");
  const std::pair<Outcome, const char*> cases[] = {
      {Run("tree " + Quote(work.path() / "plain")), "not a project folder (no pwa.pwa)"},
      {Run("new nosuchkind " + Quote(work.path() / "x")), "unknown kind 'nosuchkind'"},
      {Run("tree " + Quote(work.path() / "broken-module"), ownModules), "cannot load module library: "},
      {Run("tree " + Quote(work.path() / "ghost-module"), ownModules), "no module library ghost.so for 'ghost.dll' (known: broken)"},
      {Run("frobnicate"), "unknown command 'frobnicate'"},
      {Run("publish " + Quote(work.path() / "plain") + " --port"), "--port needs a value"},
  };
  for (const auto& [outcome, message] : cases) {
    EXPECT_NE(outcome.status, 0) << message;
    EXPECT_THAT(outcome.output, ::testing::HasSubstr(message));
  }
  EXPECT_FALSE(fs::exists(work.path() / "x"));
}

class VelmFaceProject : public Velm {
 protected:
  void SetUp() override {
    if (!HasModule("visagor")) GTEST_SKIP() << "the face module is not part of this build";
    WriteFixtureProject(work, "demo");
  }
};

struct BuildCase {
  const char* script;
  int status;
  const char* output;
};

TEST_F(VelmFaceProject, BuildRunsTheEntryScriptAndReturnsItsStatus) {
  const BuildCase cases[] = {
      {"echo building in \"$(basename \"$PWD\")\"\n", 0, "] building in demo\n"},
      {"echo half way\nexit 4\n", 4, "] half way\n"},
      {"echo \"home=$VELM_HOME\"\n", 0, "] home=/velm-home\n"},
  };
  for (const auto& c : cases) {
    work.Write("demo/train_all.sh", c.script);
    const Outcome outcome = Run("build " + ProjectArgument(), "VELM_HOME=/velm-home");
    EXPECT_EQ(outcome.status, c.status) << outcome.output;
    EXPECT_THAT(outcome.output, ::testing::HasSubstr(c.output));
    EXPECT_THAT(ReadFile(Project() / "log" / "train_all.log"), ::testing::HasSubstr(c.output));
  }
  fs::remove(Project() / "train_all.sh");
  const Outcome missing = Run("build " + ProjectArgument());
  EXPECT_EQ(missing.status, 1);
  EXPECT_THAT(missing.output, ::testing::HasSubstr("train_all.sh: no script for entry 'train_all'"));
}

TEST_F(VelmFaceProject, ClassesAreCreatedFilledAndRemovedThroughTheModule) {
  const Outcome added = Run("class add " + ProjectArgument() + " train/cats");
  ASSERT_EQ(added.status, 0) << added.output;
  EXPECT_TRUE(fs::is_directory(Project() / "images/train/cats"));
  EXPECT_THAT(ReadFile(Project() / "pwa.pwa"), ::testing::HasSubstr("<Name>cats</Name>"));

  work.Write("pictures/a.png", "cat a");
  work.Write("pictures/b.png", "cat b");
  work.Write("demo/images/train/cats/b.png", "kept");
  const Outcome imported = Run("import " + ProjectArgument() + " train/cats " + Quote(work.path() / "pictures/a.png") +
                               " " + Quote(work.path() / "pictures/b.png"));
  EXPECT_EQ(imported.status, 1) << "one file was skipped";
  EXPECT_THAT(imported.output, ::testing::HasSubstr("(already there)"));
  EXPECT_THAT(imported.output, ::testing::HasSubstr("imported 1 of 2 files"));
  EXPECT_EQ(ReadFile(Project() / "images/train/cats/a.png"), "cat a");
  EXPECT_EQ(ReadFile(Project() / "images/train/cats/b.png"), "kept");

  const Outcome declined = Run("class rm " + ProjectArgument() + " train/cats");
  EXPECT_EQ(declined.status, 1);
  EXPECT_THAT(declined.output, ::testing::HasSubstr("Remove selected class cats? no"));
  EXPECT_TRUE(fs::is_directory(Project() / "images/train/cats"));

  const Outcome removed = Run("class rm " + ProjectArgument() + " train/cats --yes");
  ASSERT_EQ(removed.status, 0) << removed.output;
  EXPECT_FALSE(fs::exists(Project() / "images/train/cats"));
  EXPECT_EQ(ReadFile(work.path() / "data/Trash/files/cats/a.png"), "cat a");
  EXPECT_THAT(ReadFile(Project() / "pwa.pwa"), ::testing::Not(::testing::HasSubstr("<Name>cats</Name>")));
}

TEST_F(VelmFaceProject, ClassCommandsRefuseWhatTheModuleRefuses) {
  const std::string before = ReadFile(Project() / "pwa.pwa");
  const std::pair<std::string, const char*> cases[] = {
      {"class add " + ProjectArgument() + " train/..", "created no class '..'"},
      {"class add " + ProjectArgument() + " nowhere/cats", "no item 'nowhere' in the project"},
      {"class add " + ProjectArgument() + " config/cats", "not available for the selected item"},
      {"class rm " + ProjectArgument() + " train --yes", "class train kept"},
      {"import " + ProjectArgument() + " train/dogs " + Quote(work.path() / "missing.png"), "missing.png: no such file"},
  };
  for (const auto& [arguments, message] : cases) {
    const Outcome outcome = Run(arguments);
    EXPECT_NE(outcome.status, 0) << arguments;
    EXPECT_THAT(outcome.output, ::testing::HasSubstr(message)) << arguments;
  }
  EXPECT_EQ(ReadFile(Project() / "pwa.pwa"), before);
  EXPECT_TRUE(fs::is_directory(Project() / "images/train"));
}

TEST_F(VelmFaceProject, ConfigShowsTheOptionsAndSetsOnlyEpochCounts) {
  const Outcome shown = Run("config " + ProjectArgument());
  ASSERT_EQ(shown.status, 0) << shown.output;
  EXPECT_TRUE(std::regex_search(shown.output, std::regex("keras_epochs +Train epoch Keras/Q-Net: +enabled +60\n")))
      << shown.output;
  EXPECT_TRUE(std::regex_search(shown.output, std::regex("Train path: +disabled +images_cropped/train\n"))) << shown.output;

  const Outcome set = Run("config " + ProjectArgument() + " keras_epochs=80 qnet_epochs=450");
  ASSERT_EQ(set.status, 0) << set.output;
  const std::string config = ReadFile(Project() / "config.py");
  EXPECT_THAT(config, ::testing::HasSubstr("keras_epochs = 80\r\n"));
  EXPECT_THAT(config, ::testing::HasSubstr("qnet_epochs = 450\r\n"));

  for (const char* refused : {"13=5", "keras_epochs=1;import os", "keras_epochs=0", "batch=3"}) {
    const Outcome outcome = Run("config " + ProjectArgument() + " " + Quote(std::string(refused)));
    EXPECT_EQ(outcome.status, 1) << refused;
  }
  EXPECT_EQ(ReadFile(Project() / "config.py"), config);
}

TEST_F(VelmFaceProject, PublishToAFolderRecordsTheAddressOnce) {
  const Outcome first = Run("publish " + ProjectArgument() + " --url-base http://apps.example/");
  ASSERT_EQ(first.status, 0) << first.output;
  EXPECT_THAT(first.output, ::testing::HasSubstr("Publish http://apps.example/demo/ Success!"));
  const fs::path site = work.path() / "data/velm/published/demo";
  EXPECT_EQ(ReadFile(site / "index.html"), "<html>fixture</html>");
  EXPECT_EQ(ReadFile(site / "manifest.json"), "{\"name\":\"fixture\"}");
  EXPECT_FALSE(fs::exists(site / "config.py")) << "a local file was published";
  EXPECT_THAT(ReadFile(Project() / "pwa.pwa"), ::testing::HasSubstr("<PublicUrl>http://apps.example/demo/</PublicUrl>"));

  const Outcome second = Run("publish " + ProjectArgument() + " --to " + Quote(work.path() / "other") +
                             " --url-base http://elsewhere.example/");
  ASSERT_EQ(second.status, 0) << second.output;
  EXPECT_THAT(second.output, ::testing::HasSubstr("Publish http://apps.example/demo/ Success!"));
  EXPECT_EQ(ReadFile(work.path() / "other/index.html"), "<html>fixture</html>");
}

TEST_F(VelmFaceProject, PublishToFtpWithTheAccountFromTheEnvironment) {
  TempFolder serverRoot;
  FtpServer server(serverRoot.path(), "ann", "right-password");
  ASSERT_GT(server.port(), 0) << "python3-pyftpdlib missing?";
  const std::string target = " --to ftp://127.0.0.1:" + std::to_string(server.port()) + "/www/demo";

  const Outcome refused = Run("publish " + ProjectArgument() + target, "VELM_PUBLISH_LOGIN=ann VELM_PUBLISH_PASSWORD=wrong-password");
  EXPECT_EQ(refused.status, 1);
  EXPECT_THAT(refused.output, ::testing::HasSubstr("Publish  Error!"));
  EXPECT_THAT(refused.output, ::testing::HasSubstr("Access denied: 530"));
  EXPECT_THAT(refused.output, ::testing::Not(::testing::HasSubstr("wrong-password")));

  const Outcome published = Run("publish " + ProjectArgument() + target, "VELM_PUBLISH_LOGIN=ann VELM_PUBLISH_PASSWORD=right-password");
  ASSERT_EQ(published.status, 0) << published.output;
  EXPECT_THAT(published.output, ::testing::HasSubstr("Publish  Success!"));
  EXPECT_EQ(ReadFile(serverRoot.path() / "www/demo/index.html"), "<html>fixture</html>");
  EXPECT_EQ(ReadFile(serverRoot.path() / "www/demo/manifest.json"), "{\"name\":\"fixture\"}");
}

TEST_F(Velm, TextDataImportGoesIntoTheModulesDataFolder) {
  if (!HasModule("parlomat")) GTEST_SKIP() << "the chat bot module is not part of this build";
  testing::WriteChatFixtureProject(work, "chat");
  work.Write("new/food.yml", "categories:\n- food\n");
  work.Write("new/ai.yml", "replaced?");

  const Outcome outcome = Run("import " + Quote(work.path() / "chat") + " " + Quote(work.path() / "new/food.yml") + " " +
                              Quote(work.path() / "new/ai.yml"));

  EXPECT_EQ(outcome.status, 1) << outcome.output;
  EXPECT_THAT(outcome.output, ::testing::HasSubstr("imported 1 of 2 files into " + (work.path() / "chat/data/chatbot/train/").string()));
  EXPECT_EQ(ReadFile(work.path() / "chat/data/chatbot/train/food.yml"), "categories:\n- food\n");
  EXPECT_EQ(ReadFile(work.path() / "chat/data/chatbot/train/ai.yml"), "categories:\n- ai\n");
}

TEST_F(Velm, ServePrintsItsAddressAndServesTheFolder) {
  work.Write("site/index.html", "<h1>served</h1>");
  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::dup2(fds[1], STDOUT_FILENO);
    ::close(fds[0]);
    ::execl(VELM_PROGRAM, "velm", "serve", (work.path() / "site").c_str(), "--port", "0", nullptr);
    ::_exit(127);
  }
  ::close(fds[1]);
  std::string line;
  char c;
  while (::read(fds[0], &c, 1) == 1 && c != '\n') line += c;
  ::close(fds[0]);
  std::smatch match;
  const bool found = std::regex_search(line, match, std::regex("at http://127\\.0\\.0\\.1:(\\d+)/"));
  if (found) {
    httplib::Client client("127.0.0.1", std::stoi(match[1]));
    const auto response = client.Get("/");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->body, "<h1>served</h1>");
  }
  ::kill(child, SIGTERM);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(found) << line;
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "did not stop cleanly";
}

}  // namespace
}  // namespace velmhost
