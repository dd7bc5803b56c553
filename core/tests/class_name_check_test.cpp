#include "class_name_check.h"

#include <gtest/gtest.h>

namespace velmcore {
namespace {

class RefusedClassName : public testing::TestWithParam<std::string> {};

TEST_P(RefusedClassName, GivesAReason) {
    EXPECT_NE(classNameProblem(GetParam()), "") << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Names, RefusedClassName,
                         testing::Values("", " ", "   ", ".", "..", "...", " . ", "../x", "a/b", "a\\b", "/abs",
                                         "a\tb", std::string("a\0b", 3), "a:b", "a*", "what?", "a|b", "<a>",
                                         "cats.", "cats ", "CON", "nul", "com1.txt", std::string(256, 'a')));

class AcceptedClassName : public testing::TestWithParam<std::string> {};

TEST_P(AcceptedClassName, HasNoProblem) {
    EXPECT_EQ(classNameProblem(GetParam()), "") << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Names, AcceptedClassName,
                         testing::Values("cats", "class_a", "Smile 2", ".hidden", "a..b", "con1", "console",
                                         "caf\xC3\xA9", std::string(255, 'a')));

}  // namespace
}  // namespace velmcore
