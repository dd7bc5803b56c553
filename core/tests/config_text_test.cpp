#include "config_text.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace velmcore {
namespace {

// A byte string from a literal that holds NUL bytes.
template <size_t N>
std::string bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

ConfigText parse(const std::string& fileBytes) {
    return ConfigText::fromBytes(fileBytes, "config.py");
}

struct ValueCase {
    const char* name;
    std::string file;
    std::string key;
    std::string expected;
};

class ConfigValueTest : public testing::TestWithParam<ValueCase> {};

TEST_P(ConfigValueTest, ReadsTheFirstLineThatStartsWithTheKeyText) {
    EXPECT_EQ(parse(GetParam().file).value(GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ConfigValueTest,
    testing::Values(
        ValueCase{"plain", "img_height = 192\r\n", "img_height = ", "192"},
        ValueCase{"no_blanks_around_equals", "img_height=192\r\n", "img_height = ", ""},
        ValueCase{"leading_blank_line", "  img_height = 192\r\n", "img_height = ", ""},
        ValueCase{"other_case", "IMG_HEIGHT = 192\r\n", "img_height = ", ""},
        ValueCase{"first_of_two", "a = 1\r\na = 2\r\n", "a = ", "1"},
        ValueCase{"trailing_blanks_and_tab", "a = 7  \t\r\n", "a = ", "7"},
        ValueCase{"trailing_comment_kept", "a = 7 # seven\r\n", "a = ", "7 # seven"},
        ValueCase{"quotes_kept", "p = \"images_cropped/train\"\r\n", "p = ", "\"images_cropped/train\""},
        ValueCase{"lf_only", "x = 1\ny = 2\n", "y = ", "2"},
        ValueCase{"cr_only", "x = 1\ry = 2\r", "y = ", "2"},
        ValueCase{"mixed_line_ends", "x = 1\r\ny = 2\rz = 3\nw = 4", "z = ", "3"},
        ValueCase{"last_line_without_end", "x = 1\r\ny = 2", "y = ", "2"},
        ValueCase{"empty_file", "", "a = ", ""},
        ValueCase{"empty_value", "a = \r\n", "a = ", ""},
        ValueCase{"prefix_of_longer_key_does_not_match", "batch_size_2 = 4\r\n", "batch_size = ", ""},
        ValueCase{"utf8_bom_before_first_key", "\xEF\xBB\xBF" "a = 5\r\n", "a = ", "5"},
        ValueCase{"utf16le", bytes("\xFF\xFE" "a\0 \0=\0 \0" "9\0\r\0\n\0"), "a = ", "9"},
        ValueCase{"utf16be", bytes("\xFE\xFF\0a\0 \0=\0 \0" "9\0\r\0\n"), "a = ", "9"}),
    [](const testing::TestParamInfo<ValueCase>& param) { return std::string(param.param.name); });

struct SetCase {
    const char* name;
    std::string file;
    std::string key;
    std::string value;
    std::string expected;
};

class ConfigSetTest : public testing::TestWithParam<SetCase> {};

TEST_P(ConfigSetTest, RewritesTheWholeFileWithCrLf) {
    ConfigText config = parse(GetParam().file);
    config.setValue(GetParam().key, GetParam().value);
    EXPECT_EQ(config.toBytes(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ConfigSetTest,
    testing::Values(
        SetCase{"replaces_in_place", "# c\r\na = 1\r\n\r\nb = 2\r\n", "a = ", "9", "# c\r\na = 9\r\n\r\nb = 2\r\n"},
        SetCase{"appends_when_missing", "b = 2\r\n", "a = ", "9", "b = 2\r\na = 9\r\n"},
        SetCase{"appends_when_only_unspaced_line", "a=1\r\n", "a = ", "9", "a=1\r\na = 9\r\n"},
        SetCase{"first_of_two_only", "a = 1\r\na = 2\r\n", "a = ", "3", "a = 3\r\na = 2\r\n"},
        SetCase{"drops_trailing_comment", "a = 1 # one\r\n", "a = ", "2", "a = 2\r\n"},
        SetCase{"empty_file_gets_one_line", "", "a = ", "1", "a = 1\r\n"},
        SetCase{"lf_file_becomes_crlf", "x = 1\ny = 2", "y = ", "5", "x = 1\r\ny = 5\r\n"},
        SetCase{"blank_lines_kept", "\n\nx = 1\n\n", "x = ", "2", "\r\n\r\nx = 2\r\n\r\n"},
        SetCase{"eight_bit_bytes_kept", "# caf\xE9\r\na = 1\r\n", "a = ", "2", "# caf\xE9\r\na = 2\r\n"}),
    [](const testing::TestParamInfo<SetCase>& param) { return std::string(param.param.name); });

struct BomCase {
    const char* name;
    std::string original;  // CR LF throughout, so a round trip changes only the edited line
    std::string edited;
};

class ConfigBomTest : public testing::TestWithParam<BomCase> {};

TEST_P(ConfigBomTest, KeepsEncodingAndMarkByteForByte) {
    ConfigText config = parse(GetParam().original);
    EXPECT_EQ(config.toBytes(), GetParam().original);
    config.setValue("a = ", "2");
    EXPECT_EQ(config.toBytes(), GetParam().edited);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, ConfigBomTest,
    testing::Values(
        BomCase{"utf8", "\xEF\xBB\xBF# \xC3\xA9t\xC3\xA9\r\na = 1\r\n", "\xEF\xBB\xBF# \xC3\xA9t\xC3\xA9\r\na = 2\r\n"},
        BomCase{"utf16le", bytes("\xFF\xFE\xE9\0\r\0\n\0a\0 \0=\0 \0" "1\0\r\0\n\0"),
                bytes("\xFF\xFE\xE9\0\r\0\n\0a\0 \0=\0 \0" "2\0\r\0\n\0")},
        BomCase{"utf16be", bytes("\xFE\xFF\0\xE9\0\r\0\n\0a\0 \0=\0 \0" "1\0\r\0\n"),
                bytes("\xFE\xFF\0\xE9\0\r\0\n\0a\0 \0=\0 \0" "2\0\r\0\n")},
        BomCase{"utf16le_surrogate_pair", bytes("\xFF\xFE\x3D\xD8\x00\xDE\r\0\n\0a\0 \0=\0 \0" "1\0\r\0\n\0"),
                bytes("\xFF\xFE\x3D\xD8\x00\xDE\r\0\n\0a\0 \0=\0 \0" "2\0\r\0\n\0")},
        BomCase{"utf16le_lone_surrogate", bytes("\xFF\xFE\x3D\xD8\r\0\n\0a\0 \0=\0 \0" "1\0\r\0\n\0"),
                bytes("\xFF\xFE\x3D\xD8\r\0\n\0a\0 \0=\0 \0" "2\0\r\0\n\0")}),
    [](const testing::TestParamInfo<BomCase>& param) { return std::string(param.param.name); });

TEST(ConfigText, Utf16ValueTypedAsUtf8IsEncodedAsUtf16) {
    ConfigText config = parse(bytes("\xFF\xFE"));
    config.setValue("p = ", "\"caf\xC3\xA9\"");
    EXPECT_EQ(config.toBytes(), bytes("\xFF\xFEp\0 \0=\0 \0\"\0c\0a\0f\0\xE9\0\"\0\r\0\n\0"));
}

TEST(ConfigText, OddLengthUtf16IsRefusedWithTheFileName) {
    try {
        ConfigText::fromBytes(bytes("\xFF\xFE" "a\0b"), "/p/config.py");
        FAIL() << "expected an error";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("/p/config.py"), std::string::npos) << error.what();
    }
}

TEST(TrimBlanksAndControls, RemovesEverythingUpToBlankAtBothEndsOnly) {
    EXPECT_EQ(trimBlanksAndControls(" \t\x01" "a b\x1f \x7f"), "a b\x1f \x7f");
    EXPECT_EQ(trimBlanksAndControls("\r\n \t"), "");
    EXPECT_EQ(trimBlanksAndControls("x"), "x");
}

}  // namespace
}  // namespace velmcore
