#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "dos_time.h"
#include "member_name.h"

namespace velmtools {
namespace {

class DosTimeInUtc : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("TZ", "UTC", 1);
    ::tzset();
  }
};

struct TimeCase {
  std::time_t when;
  int year, month, day, hour, minute, second;
};

TEST_F(DosTimeInUtc, EncodesLocalTimeWithTwoSecondSteps) {
  const TimeCase cases[] = {
      {1614834368, 2021, 3, 4, 5, 6, 8},     // 2021-03-04 05:06:08
      {1614834369, 2021, 3, 4, 5, 6, 8},     // odd seconds round down
      {315532800, 1980, 1, 1, 0, 0, 0},      // first DOS day
      {0, 1980, 1, 1, 0, 0, 0},              // before 1980: clamped
      {4354819200, 2107, 12, 31, 23, 59, 58},  // 2108: clamped to the last DOS moment
  };
  for (const auto& c : cases) {
    const DosTimestamp stamp = ToDosTimestamp(c.when);
    EXPECT_EQ(stamp.date, ((c.year - 1980) << 9) | (c.month << 5) | c.day) << c.when;
    EXPECT_EQ(stamp.time, (c.hour << 11) | (c.minute << 5) | (c.second / 2)) << c.when;
    EXPECT_TRUE(IsValidDosTimestamp(stamp));
  }
}

TEST(DosTime, RejectsImpossibleFields) {
  EXPECT_FALSE(IsValidDosTimestamp({0, 0}));                         // day 0, month 0
  EXPECT_FALSE(IsValidDosTimestamp({(24 << 11), 0x5221}));           // hour 24
  EXPECT_FALSE(IsValidDosTimestamp({(60 << 5), 0x5221}));            // minute 60
  EXPECT_FALSE(IsValidDosTimestamp({30, 0x5221}));                   // second 60
  EXPECT_FALSE(IsValidDosTimestamp({0, (41 << 9) | (13 << 5) | 1}));  // month 13
}

TEST(MemberName, AcceptsRelativeForwardSlashNames) {
  for (const char* name : {"pwa.pwa", "images/train/class_a/thumbnail.JPG", "static/js/2.ab12.chunk.js.LICENSE.txt",
                           "data/caf\xC3\xA9.wav", "..hidden", "a..b/c"}) {
    EXPECT_EQ(MemberNameProblem(name), std::nullopt) << name;
  }
}

TEST(MemberName, RefusesUnsafeNames) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "empty name"},
      {"/etc/passwd", "leading slash"},
      {"images/", "directory entry"},
      {"images\\train", "backslash"},
      {"../outside", "'..' component"},
      {"a/./b", "'.' component"},
      {"a//b", "empty path component"},
      {"C:/windows", "colon"},
      {"a\nb", "control character"},
      {"caf\xE9", "not valid UTF-8"},
      {"\xC0\xAF", "not valid UTF-8"},      // overlong '/'
      {"\xED\xA0\x80", "not valid UTF-8"},  // surrogate
      {"\xF4\x90\x80\x80", "not valid UTF-8"},  // beyond U+10FFFF
      {"ab\xC3", "not valid UTF-8"},        // cut short
  };
  for (const auto& [name, reason] : cases) {
    const auto problem = MemberNameProblem(name);
    ASSERT_TRUE(problem.has_value()) << name;
    EXPECT_NE(problem->find(reason), std::string::npos) << name << ": " << *problem;
  }
}

}  // namespace
}  // namespace velmtools
