#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "number_format.hpp"

namespace qnet {
namespace {

TEST(FormatGeneral, ShortestFormWithFifteenDigits) {
  const struct { double value; const char* text; } cases[] = {
      {1.0, "1"},
      {100.0, "100"},
      {-0.0, "0"},
      {0.589767187395701, "0.589767187395701"},
      {-0.0371524882291566, "-0.0371524882291566"},
      {1102.818725585937, "1102.81872558594"},
      {0.1 + 0.2, "0.3"},
      {-2.5, "-2.5"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatGeneral(c.value), c.text) << c.value;
}

TEST(FormatGeneral, ReadsBackToTheSameText) {
  for (double value : {1.0 / 3.0, -123456.789012345678, 6.02214076e23, 1e-7, 2.0 / 7.0e-3}) {
    double parsed = 0.0;
    ASSERT_TRUE(ParseNumber(FormatGeneral(value), parsed)) << FormatGeneral(value);
    EXPECT_EQ(FormatGeneral(parsed), FormatGeneral(value));
  }
}

TEST(FormatGeneralNotBelow, StepsUpOnlyWhenTheNearestTextReadsBackBelow) {
  const struct { double value; const char* text; } cases[] = {
      {1.0, "1"},
      {0.1, "0.1"},
      {1102.8187255859375, "1102.81872558594"},
      {0.1 + 0.2, "0.300000000000001"},
      {2.0000000000000004, "2.00000000000001"},
      {-2.0000000000000004, "-2"},
      {-0.30000000000000004, "-0.3"},
      {9.9999999999999995, "10"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatGeneralNotBelow(c.value), c.text) << c.value;
}

TEST(FormatGeneralNotBelow, ReadsBackAtOrAboveAndIsStableWhenWrittenAgain) {
  std::mt19937_64 random(5);
  std::uniform_real_distribution<double> spread(-1e4, 1e4);
  for (int i = 0; i < 20000; ++i) {
    const double value = spread(random) / static_cast<double>(1 + i % 997);
    const std::string text = FormatGeneralNotBelow(value);
    double back = 0.0;
    ASSERT_TRUE(ParseNumber(text, back)) << text;
    ASSERT_GE(back, value) << text;
    ASSERT_EQ(FormatGeneralNotBelow(back), text) << value;
    ASSERT_EQ(FormatGeneral(back), text) << value;  // a plain writer gives the same text for it
  }
}

TEST(FormatFixedNotBelow, StepsUpInTheLastDecimal) {
  const struct { double value; const char* text; } cases[] = {
      {0.12344, "0.1235"}, {0.12346, "0.1235"}, {-0.03715, "-0.0371"}, {0.25, "0.2500"},
      {9.99994, "10.0000"}, {-0.00011, "-0.0001"}, {777.0, "777.0000"}, {0.056, "0.0560"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatFixedNotBelow(c.value, 4), c.text) << c.value;
}

TEST(FormatFixed, RoundsToTheGivenDecimals) {
  EXPECT_EQ(FormatFixed(0.0, 8), "0.00000000");
  EXPECT_EQ(FormatFixed(100.0, 8), "100.00000000");
  EXPECT_EQ(FormatFixed(777.0, 4), "777.0000");
  EXPECT_EQ(FormatFixed(-0.0371524882291566, 4), "-0.0372");
}

TEST(ParseNumber, AcceptsPlainDecimalsOnly) {
  const struct { const char* text; bool ok; double value; } cases[] = {
      {"0", true, 0.0},         {"-12.5", true, -12.5},   {"3.14159265358979", true, 3.14159265358979},
      {"1e-05", true, 1e-05},   {"+2", true, 2.0},        {".5", true, 0.5},
      {"", false, 0},           {"abc", false, 0},        {"1.2.3", false, 0},
      {"nan", false, 0},        {"-inf", false, 0},       {"1,5", false, 0},
      {" 1", false, 0},         {"1 ", false, 0},         {"1e999", false, 0},
      {"1e300", true, 1e300},   {"-1e301", false, 0},
  };
  for (const auto& c : cases) {
    double value = -99.0;
    EXPECT_EQ(ParseNumber(c.text, value), c.ok) << '"' << c.text << '"';
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

}  // namespace
}  // namespace qnet
