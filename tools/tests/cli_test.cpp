// The two programs as the module build and a person use them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "run_command.h"
#include "temp_folder.h"

namespace {

using velmtools::testing::Quote;
using velmtools::testing::RunCommand;
using velmtools::testing::TempFolder;

TEST(Cli, PackThenVerifyPasses) {
  TempFolder work;
  work.Write("template/pwa.pwa", "<TPwaFrame></TPwaFrame>");
  work.Write("template/images/train/a/1.png", "png");
  const auto archive = work.path() / "app.zip";
  const auto pack = RunCommand(std::string(VELM_PACK) + " " + Quote(work.path() / "template") + " " + Quote(archive));
  ASSERT_EQ(pack.status, 0) << pack.output;
  const auto verify = RunCommand(std::string(VELM_VERIFY) + " " + Quote(archive));
  EXPECT_EQ(verify.status, 0) << verify.output;
  EXPECT_EQ(verify.output, "");
}

TEST(Cli, VerifyListsEachViolationAndFails) {
  TempFolder work;
  // Hand-made archive: one stored member with a Unix "version made by".
  const unsigned char archive[] = {
      0x50, 0x4b, 0x03, 0x04, 0x0a, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x60, 0x21, 0x52, 0x83, 0x16, 0xdc, 0x8c,
      0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 'a',  '.',  't',  'x',  't',  'x',
      0x50, 0x4b, 0x01, 0x02, 0x1e, 0x03, 0x0a, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x60, 0x21, 0x52, 0x83, 0x16,
      0xdc, 0x8c, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
      0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 'a',  '.',  't',  'x',  't',
      0x50, 0x4b, 0x05, 0x06, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01, 0x00, 0x33, 0x00, 0x00, 0x00, 0x24, 0x00,
      0x00, 0x00, 0x00, 0x00};
  const auto path = work.Write("bad.zip", std::string(reinterpret_cast<const char*>(archive), sizeof archive));
  const auto verify = RunCommand(std::string(VELM_VERIFY) + " " + Quote(path));
  EXPECT_EQ(verify.status, 1) << verify.output;
  EXPECT_THAT(verify.output, ::testing::HasSubstr("bad.zip: a.txt: compression method 0, expected deflate (8)"));
  EXPECT_THAT(verify.output, ::testing::HasSubstr("bad.zip: a.txt: version made by 0x031E"));
  EXPECT_THAT(verify.output, ::testing::HasSubstr("bad.zip: a.txt: version needed 10"));
  EXPECT_THAT(verify.output, ::testing::Not(::testing::HasSubstr("CRC")));
}

TEST(Cli, PackFailureExitsNonZeroWithTheReason) {
  TempFolder work;
  const auto pack = RunCommand(std::string(VELM_PACK) + " " + Quote(work.path() / "nothing") + " " + Quote(work.path() / "x.zip"));
  EXPECT_EQ(pack.status, 1);
  EXPECT_THAT(pack.output, ::testing::HasSubstr("nothing: not a folder"));
  EXPECT_EQ(RunCommand(std::string(VELM_VERIFY)).status, 2);
}

}  // namespace
