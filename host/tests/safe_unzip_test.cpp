#include "safe_unzip.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "raw_zip.h"
#include "temp_folder.h"

namespace velmhost {
namespace {

namespace fs = std::filesystem;
using velmtools::testing::Build;
using velmtools::testing::RawArchive;
using velmtools::testing::RawMember;
using velmtools::testing::ReadFile;
using velmtools::testing::TempFolder;
using velmtools::testing::ToBytes;

RawMember File(const std::string& name, const std::string& content) {
  RawMember member;
  member.name = name;
  member.content = ToBytes(content);
  return member;
}

RawMember UnixMember(const std::string& name, mode_t mode, const std::string& content) {
  RawMember member = File(name, content);
  member.versionMadeBy = 0x0314;  // Unix
  member.externalAttributes = static_cast<std::uint32_t>(mode) << 16;
  return member;
}

TEST(SafeUnzip, UnpacksFilesWithContentAndTime) {
  TempFolder work;
  RawMember page = File("index.html", "<html></html>");
  page.date = static_cast<std::uint16_t>((41 << 9) | (3 << 5) | 4);  // 2021-03-04
  page.time = static_cast<std::uint16_t>((5 << 11) | (6 << 5) | 4);   // 05:06:08
  RawArchive archive;
  archive.members = {page, File("images/train/a/1.png", "png"), File("images/", ""), UnixMember("run.sh", S_IFREG | 0755, "echo")};

  const auto written = UnzipInto(Build(archive), work.path() / "project");

  EXPECT_THAT(written, ::testing::ElementsAre("index.html", "images/train/a/1.png", "run.sh"));
  EXPECT_EQ(ReadFile(work.path() / "project/index.html"), "<html></html>");
  EXPECT_EQ(ReadFile(work.path() / "project/images/train/a/1.png"), "png");
  struct stat info {};
  ASSERT_EQ(::stat((work.path() / "project/index.html").c_str(), &info), 0);
  std::tm local{};
  localtime_r(&info.st_mtime, &local);
  EXPECT_EQ(local.tm_year + 1900, 2021);
  EXPECT_EQ(local.tm_mon + 1, 3);
  EXPECT_EQ(local.tm_mday, 4);
  EXPECT_EQ(local.tm_hour, 5);
  EXPECT_EQ(local.tm_sec, 8);
}

struct HostileCase {
  const char* title;
  std::vector<RawMember> members;
  const char* reason;
};

void PrintTo(const HostileCase& c, std::ostream* os) { *os << c.title; }

class SafeUnzipHostile : public ::testing::TestWithParam<HostileCase> {};

TEST_P(SafeUnzipHostile, RefusesTheArchiveAndWritesNothing) {
  TempFolder work;
  const fs::path project = work.path() / "deep" / "project";
  RawArchive archive;
  // A harmless member first: it must not be written either.
  archive.members = {File("aaa-first.txt", "first")};
  for (const auto& m : GetParam().members) archive.members.push_back(m);

  try {
    UnzipInto(Build(archive), project);
    FAIL() << "archive accepted";
  } catch (const UnzipError& error) {
    EXPECT_THAT(error.what(), ::testing::HasSubstr(GetParam().reason));
  }
  EXPECT_FALSE(fs::exists(project / "aaa-first.txt"));
  for (const auto& entry : fs::recursive_directory_iterator(work.path())) {
    EXPECT_TRUE(entry.is_directory()) << "written: " << entry.path();
  }
}

INSTANTIATE_TEST_SUITE_P(
    EachTrick, SafeUnzipHostile,
    ::testing::Values(
        HostileCase{"parent", {File("../evil.txt", "x")}, "'..' component"},
        HostileCase{"deep_parent", {File("a/../../../evil.txt", "x")}, "'..' component"},
        HostileCase{"absolute", {File("/tmp/evil.txt", "x")}, "leading slash"},
        HostileCase{"backslash", {File("..\\..\\evil.txt", "x")}, "backslash"},
        HostileCase{"drive", {File("C:/evil.txt", "x")}, "colon"},
        HostileCase{"symlink", {UnixMember("link", S_IFLNK | 0777, "/etc")}, "symbolic link"},
        HostileCase{"symlink_then_file", {UnixMember("images", S_IFLNK | 0777, ".."), File("images/evil.txt", "x")}, "symbolic link"},
        HostileCase{"device", {UnixMember("dev", S_IFCHR | 0666, "")}, "special file"},
        HostileCase{"duplicate", {File("pwa.pwa", "one"), File("pwa.pwa", "two")}, "File already exists"},
        HostileCase{"file_and_folder", {File("data", "x"), File("data/train.csv", "y")}, "both as a file and as a folder"}),
    [](const ::testing::TestParamInfo<HostileCase>& p) { return std::string(p.param.title); });

TEST(SafeUnzip, RefusesCorruptDataWithoutLeavingAPartialFile) {
  TempFolder work;
  RawMember broken = File("model.bin", std::string(5000, 'm'));
  broken.crcOverride = 0xDEADBEEF;
  RawArchive archive;
  archive.members = {broken};
  EXPECT_THROW(UnzipInto(Build(archive), work.path()), UnzipError);
  for (const auto& entry : fs::directory_iterator(work.path())) ADD_FAILURE() << "left behind: " << entry.path();
}

TEST(SafeUnzip, RefusesBytesThatAreNoArchive) {
  TempFolder work;
  const std::string text = "this is not a zip archive at all";
  EXPECT_THROW(UnzipInto(std::vector<std::uint8_t>(text.begin(), text.end()), work.path()), UnzipError);
}

}  // namespace
}  // namespace velmhost
