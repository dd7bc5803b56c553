#include "template_pack.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/time.h>
#include <zip.h>

#include <map>

#include "archive_check.h"
#include "temp_folder.h"

namespace velmtools {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempFolder;

void SetModified(const fs::path& file, std::time_t when) {
  const timeval times[2] = {{when, 0}, {when, 0}};
  ASSERT_EQ(::utimes(file.c_str(), times), 0);
}

struct Member {
  std::string content;
  std::time_t modified;
};

// Reads the archive with libzip, an independent reader, in directory order.
std::vector<std::pair<std::string, Member>> ReadWithLibzip(const fs::path& archive) {
  int error = 0;
  zip_t* zip = zip_open(archive.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
  EXPECT_NE(zip, nullptr) << "libzip error " << error;
  std::vector<std::pair<std::string, Member>> members;
  if (zip == nullptr) return members;
  for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
    zip_stat_t stat;
    zip_stat_index(zip, static_cast<zip_uint64_t>(i), 0, &stat);
    std::string content(stat.size, '\0');
    zip_file_t* file = zip_fopen_index(zip, static_cast<zip_uint64_t>(i), 0);
    EXPECT_EQ(zip_fread(file, content.data(), stat.size), static_cast<zip_int64_t>(stat.size));
    zip_fclose(file);
    members.push_back({stat.name, {content, stat.mtime}});
  }
  zip_close(zip);
  return members;
}

class TemplatePack : public ::testing::Test {
 protected:
  TempFolder work;
  fs::path templateFolder = work.path() / "template";
  fs::path archive = work.path() / "out.zip";
};

TEST_F(TemplatePack, PacksEveryFileWithItsNameCaseAndTime) {
  // Even seconds, so that the two-second DOS clock keeps them exactly.
  const std::map<std::string, std::pair<std::string, std::time_t>> files = {
      {"pwa.pwa", {"<?xml version=\"1.0\"?>\r\n<TPwaFrame></TPwaFrame>", 1614834368}},
      {"images/train/class_a/thumbnail.JPG", {std::string(4000, '\xFF'), 1600000000}},
      {"model/qnet_model.js", {"export const model = [1,2,3];\n", 1500000000}},
      {"Zeta.txt", {"", 1400000000}},
  };
  for (const auto& [name, file] : files) SetModified(work.Write("template/" + name, file.first), file.second);
  fs::create_directories(templateFolder / "empty" / "folder");

  PackTemplateFolder(templateFolder, archive);

  const std::string bytes = ReadFile(archive);
  EXPECT_THAT(CheckTemplateArchive(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), ::testing::IsEmpty());
  const auto members = ReadWithLibzip(archive);
  std::vector<std::string> names;
  for (const auto& [name, member] : members) {
    names.push_back(name);
    ASSERT_EQ(files.count(name), 1u) << name;
    EXPECT_EQ(member.content, files.at(name).first) << name;
    EXPECT_EQ(member.modified, files.at(name).second) << name;
  }
  EXPECT_THAT(names, ::testing::ElementsAre("Zeta.txt", "images/train/class_a/thumbnail.JPG", "model/qnet_model.js", "pwa.pwa"));
}

TEST_F(TemplatePack, SameFolderGivesSameBytes) {
  SetModified(work.Write("template/a/b.txt", "one"), 1600000000);
  SetModified(work.Write("template/c.txt", "two"), 1600000002);
  const fs::path second = work.path() / "second.zip";
  PackTemplateFolder(templateFolder, archive);
  PackTemplateFolder(templateFolder, second);
  EXPECT_EQ(ReadFile(archive), ReadFile(second));
}

TEST_F(TemplatePack, LeavesOutWhatItsIgnoreListNames) {
  work.Write("template/.packignore", "# developer files\r\n/tests/\r\n__pycache__/\r\n*.pyc\r\nmodel/scratch*\r\n");
  for (const char* name : {"pwa.pwa", "utils/data.py", "utils/__pycache__/data.cpython-311.pyc", "tests/app.test.js",
                           "tests/support/server.js", "cache.pyc", "deep/er/stale.pyc", "model/scratch.bin",
                           "model/keep.bin", "images/tests_of_faces/a.jpg", "images/tests/b.jpg"}) {
    work.Write(std::string("template/") + name, name);
  }
  // An ignored link is never followed or refused: it simply stays out.
  fs::create_directory_symlink("/", templateFolder / "tests" / "outside");

  PackTemplateFolder(templateFolder, archive);

  std::vector<std::string> names;
  for (const auto& [name, member] : ReadWithLibzip(archive)) names.push_back(name);
  EXPECT_THAT(names, ::testing::ElementsAre("images/tests/b.jpg", "images/tests_of_faces/a.jpg", "model/keep.bin", "pwa.pwa", "utils/data.py"));
}

TEST_F(TemplatePack, RefusesSymlinksAndKeepsTheOldArchive) {
  work.Write("template/index.html", "page");
  work.Write("secret.txt", "outside the template");
  fs::create_symlink(work.path() / "secret.txt", templateFolder / "link.txt");
  work.Write("out.zip", "previous archive");

  try {
    PackTemplateFolder(templateFolder, archive);
    FAIL() << "a symbolic link was packed";
  } catch (const std::runtime_error& error) {
    EXPECT_THAT(error.what(), ::testing::HasSubstr("link.txt"));
    EXPECT_THAT(error.what(), ::testing::HasSubstr("symbolic link"));
  }
  EXPECT_EQ(ReadFile(archive), "previous archive");
  for (const auto& entry : fs::directory_iterator(work.path())) {
    EXPECT_THAT(entry.path().filename().string(), ::testing::Not(::testing::StartsWith(".out.zip"))) << "temporary file left";
  }
}

TEST_F(TemplatePack, RefusesFoldersThatCannotMakeATemplate) {
  fs::create_directories(templateFolder);
  EXPECT_THROW(PackTemplateFolder(templateFolder, archive), std::runtime_error) << "empty folder";
  EXPECT_THROW(PackTemplateFolder(work.path() / "missing", archive), std::runtime_error) << "missing folder";

  work.Write("template/index.html", "page");
  EXPECT_THROW(PackTemplateFolder(templateFolder, templateFolder / "self.zip"), std::runtime_error) << "archive inside";

  work.Write("template/images\\train.png", "a Windows path in a Linux name");
  try {
    PackTemplateFolder(templateFolder, archive);
    FAIL() << "backslash name packed";
  } catch (const std::runtime_error& error) {
    EXPECT_THAT(error.what(), ::testing::HasSubstr("images\\train.png: name contains a backslash"));
  }
  EXPECT_FALSE(fs::exists(archive));
}

}  // namespace
}  // namespace velmtools
