#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "test_support.h"
#include "velmkit/files.h"

namespace fs = std::filesystem;

namespace velmkit {
namespace {

using testing::ReadText;
using testing::TempFolder;
using testing::WriteText;

// Reads a .trashinfo file into its keys.
std::map<std::string, std::string> ReadTrashInfo(const std::string& path) {
  std::map<std::string, std::string> keys;
  std::string text = ReadText(path);
  EXPECT_EQ(text.rfind("[Trash Info]\n", 0), 0u) << text;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    std::string line = text.substr(at, end - at);
    size_t equals = line.find('=');
    if (equals != std::string::npos) keys[line.substr(0, equals)] = line.substr(equals + 1);
    at = end == std::string::npos ? text.size() : end + 1;
  }
  return keys;
}

std::string DecodePercent(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

class TrashTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* previous = std::getenv("XDG_DATA_HOME");
    if (previous != nullptr) FPrevious = previous;
    setenv("XDG_DATA_HOME", (FFolder / "data").c_str(), 1);
  }
  void TearDown() override {
    if (FPrevious.empty()) {
      unsetenv("XDG_DATA_HOME");
    } else {
      setenv("XDG_DATA_HOME", FPrevious.c_str(), 1);
    }
  }
  TempFolder FFolder;
  std::string FPrevious;
};

TEST_F(TrashTest, TrashedFolderCanBeRestoredFromItsInfo) {
  std::string classFolder = FFolder / "project/images/train/cats & dogs";
  WriteText(classFolder + "/one.jpg", "first picture");
  WriteText(classFolder + "/sub/two.jpg", "second picture");

  ASSERT_TRUE(MoveToTrash(classFolder));
  EXPECT_FALSE(fs::exists(classFolder));
  EXPECT_EQ(TrashFolder(), FFolder / "data/Trash");

  std::string info = TrashFolder() + "/info/cats & dogs.trashinfo";
  std::map<std::string, std::string> keys = ReadTrashInfo(info);
  EXPECT_EQ(keys["Path"], FFolder / "project/images/train/cats%20%26%20dogs");
  EXPECT_EQ(keys["DeletionDate"].size(), 19u) << keys["DeletionDate"];

  // Restoring as a desktop's trash does: move files/<name> back to Path.
  std::string restoreTo = DecodePercent(keys["Path"]);
  fs::rename(TrashFolder() + "/files/cats & dogs", restoreTo);
  EXPECT_EQ(ReadText(classFolder + "/one.jpg"), "first picture");
  EXPECT_EQ(ReadText(classFolder + "/sub/two.jpg"), "second picture");
}

TEST_F(TrashTest, SameNameTwiceGetsASuffixAndKeepsBoth) {
  WriteText(FFolder / "a/class/x.txt", "from a");
  WriteText(FFolder / "b/class/x.txt", "from b");
  ASSERT_TRUE(MoveToTrash(FFolder / "a/class"));
  ASSERT_TRUE(MoveToTrash(FFolder / "b/class/"));
  EXPECT_EQ(ReadText(TrashFolder() + "/files/class/x.txt"), "from a");
  EXPECT_EQ(ReadText(TrashFolder() + "/files/class.2/x.txt"), "from b");
  EXPECT_EQ(ReadTrashInfo(TrashFolder() + "/info/class.2.trashinfo")["Path"], FFolder / "b/class");
}

TEST_F(TrashTest, StrayEntryWithoutInfoIsNotReplaced) {
  WriteText(FFolder / "data/Trash/files/class/keep.txt", "already here");
  WriteText(FFolder / "project/class/new.txt", "new");
  ASSERT_TRUE(MoveToTrash(FFolder / "project/class"));
  EXPECT_EQ(ReadText(TrashFolder() + "/files/class/keep.txt"), "already here");
  EXPECT_EQ(ReadText(TrashFolder() + "/files/class.2/new.txt"), "new");
  EXPECT_FALSE(fs::exists(TrashFolder() + "/info/class.trashinfo"));
}

TEST_F(TrashTest, PathOnAnotherFileSystemGoesToThatFileSystemsTrash) {
  // /dev/shm is a file system of its own on the machines we build on.
  struct stat shm {};
  struct stat home {};
  fs::create_directories(TrashFolder());
  if (stat("/dev/shm", &shm) != 0 || stat(TrashFolder().c_str(), &home) != 0 || shm.st_dev == home.st_dev ||
      access("/dev/shm", W_OK) != 0) {
    GTEST_SKIP() << "no second writable file system at /dev/shm";
  }
  std::string pattern = "/dev/shm/velmkit-test-XXXXXX";
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::string project = pattern;
  const std::string name = fs::path(project).filename().string() + "-class";
  WriteText(project + "/" + name + "/x.txt", "kept");

  const std::string trash = TrashFolderFor(project + "/" + name);
  EXPECT_EQ(trash, "/dev/shm/.Trash-" + std::to_string(getuid()));
  bool moved = MoveToTrash(project + "/" + name);
  std::string restored = ReadText(trash + "/files/" + name + "/x.txt");
  std::map<std::string, std::string> keys = ReadTrashInfo(trash + "/info/" + name + ".trashinfo");
  struct stat info {};
  stat(trash.c_str(), &info);
  fs::remove_all(trash + "/files/" + name);
  fs::remove(trash + "/info/" + name + ".trashinfo");
  fs::remove_all(project);

  EXPECT_TRUE(moved);
  EXPECT_EQ(restored, "kept");
  EXPECT_EQ(DecodePercent(keys["Path"]), project + "/" + name);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_FALSE(fs::exists(TrashFolder() + "/files/" + name)) << "nothing went to the home trash";
}

TEST_F(TrashTest, MissingPathMovesNothing) {
  EXPECT_FALSE(MoveToTrash(FFolder / "nothing-here"));
  EXPECT_FALSE(fs::exists(TrashFolder() + "/info"));
}

TEST(CopyFileNoOverwrite, CopiesIntoAFreeName) {
  TempFolder folder;
  WriteText(folder / "source.jpg", std::string(200000, 'p'));
  ASSERT_TRUE(CopyFileNoOverwrite(folder / "source.jpg", folder / "target.jpg"));
  EXPECT_EQ(ReadText(folder / "target.jpg"), std::string(200000, 'p'));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2);
}

TEST(CopyFileNoOverwrite, NeverReplacesATargetThatAppearedFirst) {
  struct Case {
    const char* what;
    bool targetIsFolder;
  };
  for (Case c : {Case{"file", false}, Case{"folder", true}}) {
    TempFolder folder;
    WriteText(folder / "source.jpg", "new content");
    if (c.targetIsFolder) {
      fs::create_directory(folder / "target.jpg");
    } else {
      WriteText(folder / "target.jpg", "existing content");
    }
    EXPECT_FALSE(CopyFileNoOverwrite(folder / "source.jpg", folder / "target.jpg")) << c.what;
    if (!c.targetIsFolder) {
      EXPECT_EQ(ReadText(folder / "target.jpg"), "existing content");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 2)
        << c.what << ": no temporary file is left";
  }
}

TEST(CopyFileNoOverwrite, RefusesMissingSourceAndMissingFolder) {
  TempFolder folder;
  WriteText(folder / "source.jpg", "x");
  EXPECT_FALSE(CopyFileNoOverwrite(folder / "absent.jpg", folder / "target.jpg"));
  EXPECT_FALSE(CopyFileNoOverwrite(folder / "source.jpg", folder / "no/such/target.jpg"));
  EXPECT_FALSE(CopyFileNoOverwrite(folder.Path(), folder / "target.jpg")) << "a folder is no file to copy";
  EXPECT_FALSE(fs::exists(folder / "target.jpg"));
}

TEST(WriteFileAtomically, ReplacesWholeAndKeepsMode) {
  TempFolder folder;
  WriteText(folder / "config.py", "old = 1\r\n");
  chmod((folder / "config.py").c_str(), 0604);
  ASSERT_TRUE(WriteFileAtomically(folder / "config.py", "new = 2\r\n"));
  EXPECT_EQ(ReadText(folder / "config.py"), "new = 2\r\n");
  struct stat info {};
  stat((folder / "config.py").c_str(), &info);
  EXPECT_EQ(info.st_mode & 0777, 0604u);
  EXPECT_FALSE(WriteFileAtomically(folder / "missing/config.py", "x"));
}

TEST(FileRoutines, ExistenceTestsTellFilesFromFoldersAndCreateDirMakesOneLevel) {
  TempFolder folder;
  WriteText(folder / "file.txt", "x");
  EXPECT_TRUE(FileExists(folder / "file.txt"));
  EXPECT_FALSE(FileExists(folder.Path()));
  EXPECT_TRUE(DirectoryExists(folder.Path()));
  EXPECT_FALSE(DirectoryExists(folder / "file.txt"));

  EXPECT_TRUE(CreateDir(folder / "one"));
  EXPECT_FALSE(CreateDir(folder / "one")) << "exists already";
  EXPECT_FALSE(CreateDir(folder / "two/three")) << "one level only";
  EXPECT_FALSE(DirectoryExists(folder / "two"));
  EXPECT_FALSE(CreateDir(""));
}

}  // namespace
}  // namespace velmkit
