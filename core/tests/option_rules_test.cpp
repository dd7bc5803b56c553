#include "option_rules.h"

#include <gtest/gtest.h>

namespace velmcore {
namespace {

struct StoredCase {
    const char* name;
    int tag;
    std::string editText;
    std::optional<std::string> stored;
};

class StoredValueTest : public testing::TestWithParam<StoredCase> {};

TEST_P(StoredValueTest, MapsEditTextToTheWrittenValue) {
    EXPECT_EQ(storedValueOf(GetParam().tag, GetParam().editText), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, StoredValueTest,
    testing::Values(
        StoredCase{"path_quoted", 10, "images/train", "\"images/train\""},
        StoredCase{"path_backslashes_become_forward", 11, "images_cropped\\test", "\"images_cropped/test\""},
        StoredCase{"path_trimmed", 12, " model\t", "\"model\""},
        StoredCase{"path_with_quote_refused", 10, "a\"b", std::nullopt},
        StoredCase{"path_with_inner_newline_refused", 10, "a\nb", std::nullopt},
        StoredCase{"path_empty_stores_empty_quotes", 10, "", "\"\""},
        StoredCase{"number_bare", 13, "192", "192"},
        StoredCase{"epoch_bare_trimmed", 16, " 60 ", "60"},
        StoredCase{"epoch_empty_refused", 17, "", std::nullopt},
        StoredCase{"epoch_not_digits_refused", 17, "6o", std::nullopt},
        StoredCase{"epoch_negative_refused", 16, "-1", std::nullopt},
        StoredCase{"publishing_tag_zero", 0, "host.example", std::nullopt},
        StoredCase{"unknown_tag", 18, "5", std::nullopt},
        StoredCase{"tag_below_paths", 9, "5", std::nullopt}),
    [](const testing::TestParamInfo<StoredCase>& param) { return std::string(param.param.name); });

TEST(PathShown, QuotesAreCutWithoutCheckingThem) {
    EXPECT_FALSE(pathValueIsMissing("\"ab\""));
    EXPECT_TRUE(pathValueIsMissing("\"\""));
    EXPECT_TRUE(pathValueIsMissing(""));
    EXPECT_EQ(pathShownFromStored("\"images_cropped/train\""), "images_cropped/train");
    EXPECT_EQ(pathShownFromStored("model"), "ode");
    EXPECT_EQ(pathShownFromStored("abc"), "b");
}

}  // namespace
}  // namespace velmcore
