// config.py as the ribbon's edits read and write it.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "module_host.h"

namespace velmtest {
namespace {

velmkit::TEdit* editWithTag(ModuleHost& host, int tag) {
    for (velmkit::TEdit* edit : host.optionEdits()) {
        if (edit->Tag() == tag && edit->Visible()) {
            return edit;
        }
    }
    return nullptr;
}

std::vector<velmkit::TEdit*> publishingEdits(ModuleHost& host) {
    std::vector<velmkit::TEdit*> hidden;
    for (velmkit::TEdit* edit : host.optionEdits()) {
        if (!edit->Visible()) {
            hidden.push_back(edit);
        }
    }
    return hidden;
}

// Runs Python in the project folder; returns what it printed.
std::string runPython(const std::filesystem::path& folder, const std::string& code) {
    const std::string script = (folder / "probe_config.py").string();
    FILE* file = std::fopen(script.c_str(), "w");
    std::fputs(code.c_str(), file);
    std::fclose(file);
    const std::string command = "cd '" + folder.string() + "' && '" VELM_PYTHON "' probe_config.py 2>&1";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe)) {
            output += buffer;
        }
        ::pclose(pipe);
    }
    return output;
}

class ConfigTest : public testing::TestWithParam<ModuleFacts> {};

TEST_P(ConfigTest, TypingAnEpochCountRewritesItsLineOnly) {
    ModuleHost host(GetParam(), "class_project");
    const std::string before = host.project().read("config.py");
    host.buildRibbon();
    ASSERT_EQ(host.project().read("config.py"), before);
    velmkit::TEdit* epochs = editWithTag(host, 17);
    ASSERT_NE(epochs, nullptr);
    epochs->SetText("77");
    std::string expected = before;
    expected.replace(expected.find("qnet_epochs = 34"), 16, "qnet_epochs = 77");
    EXPECT_EQ(host.project().read("config.py"), expected);

    // Half-typed and unusable values keep the file a valid Python module.
    for (const char* text : {"", "  ", "7x", "\"7\"", "-3"}) {
        epochs->SetText(text);
        EXPECT_EQ(host.project().read("config.py"), expected) << "'" << text << "'";
    }
    epochs->SetText(" 8 ");
    expected.replace(expected.find("qnet_epochs = 77"), 16, "qnet_epochs = 8");
    EXPECT_EQ(host.project().read("config.py"), expected);
}

TEST_P(ConfigTest, HiddenPublishingEditsNeverChangeTheFile) {
    ModuleHost host(GetParam(), "class_project");
    const std::string before = host.project().read("config.py");
    host.buildRibbon();
    const auto hidden = publishingEdits(host);
    ASSERT_EQ(hidden.size(), 4u);
    for (velmkit::TEdit* edit : hidden) {
        edit->SetText("changed");
    }
    EXPECT_EQ(host.project().read("config.py"), before);
    EXPECT_NE(host.form()->PublishHost(), "changed");
}

TEST_P(ConfigTest, QuoteInAPathIsRefusedAndBackslashesBecomeSlashes) {
    ModuleHost host(GetParam(), "class_project");
    host.buildRibbon();
    velmkit::TEdit* trainPath = editWithTag(host, 10);
    ASSERT_NE(trainPath, nullptr);
    const std::string before = host.project().read("config.py");
    trainPath->SetText("a\"b");
    EXPECT_EQ(host.project().read("config.py"), before);
    trainPath->SetText("pics\\train set");
    EXPECT_NE(host.project().read("config.py").find("\"pics/train set\"\r\n"), std::string::npos);
}

TEST_P(ConfigTest, MissingFileOrItemShowsDefaultsAndCreatesNothing) {
    ModuleHost host(GetParam(), "class_project");
    std::filesystem::remove(host.project().folder() / "config.py");
    host.buildRibbon();
    host.buildRibbon();
    velmkit::TEdit* epochs = editWithTag(host, 17);
    ASSERT_NE(epochs, nullptr);
    epochs->SetText("5");
    EXPECT_FALSE(std::filesystem::exists(host.project().folder() / "config.py"));
    EXPECT_NE(editWithTag(host, 12)->Text(), "");
}

TEST_P(ConfigTest, ConfigItemOfAnotherNameIsNotUsed) {
    ModuleHost host(GetParam(), "class_project");
    host.item("config")->SetName("Config");
    host.buildRibbon();
    editWithTag(host, 17)->SetText("99");
    EXPECT_EQ(host.project().read("config.py").find("qnet_epochs = 99"), std::string::npos);
}

TEST_P(ConfigTest, WrittenFileIsImportableByPython) {
    ModuleHost host(GetParam(), "class_project");
    host.project().write("config.py", "# settings\r\n");
    host.buildRibbon();
    editWithTag(host, 17)->SetText("42");
    const std::string output = runPython(host.project().folder(),
                                         "import config\n"
                                         "print(config.model_path, config.qnet_epochs + 1)\n");
    const std::string modelPath = GetParam().deliverable == "parlomat" ? "model/chatbot" : "model";
    EXPECT_EQ(output, modelPath + " 43\n");
}

INSTANTIATE_TEST_SUITE_P(Modules, ConfigTest, testing::ValuesIn(allModules()),
                         [](const testing::TestParamInfo<ModuleFacts>& param) { return printName(param.param); });

struct EncodedConfig {
    const char* name;
    std::string original;
    std::string expected;  // after the ribbon of visagor stored its defaults and 61 was typed
};

class ConfigEncodingTest : public testing::TestWithParam<EncodedConfig> {};

TEST_P(ConfigEncodingTest, ByteOrderMarkAndEncodingSurviveWrites) {
    ModuleHost host(allModules().at(0), "class_project");
    host.project().write("config.py", GetParam().original);
    host.buildRibbon();
    editWithTag(host, 16)->SetText("61");
    EXPECT_EQ(host.project().read("config.py"), GetParam().expected);
}

// Every key but keras_epochs is present, so only that line is written.
const char kPlainLines[] =
    "train_images_path = \"a/b\"\r\ntest_images_path = \"a/c\"\r\nmodel_path = \"mdl\"\r\nqnet_epochs = 1\r\n";

std::string utf16(const std::string& ascii, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) {
        out += bigEndian ? std::string(1, '\0') + c : std::string(1, c) + '\0';
    }
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, ConfigEncodingTest,
    testing::Values(
        EncodedConfig{"eight_bit", kPlainLines, std::string(kPlainLines) + "keras_epochs = 61\r\n"},
        EncodedConfig{"utf8_bom", "\xEF\xBB\xBF" + std::string(kPlainLines),
                      "\xEF\xBB\xBF" + std::string(kPlainLines) + "keras_epochs = 61\r\n"},
        EncodedConfig{"utf16le", utf16(kPlainLines, false), utf16(std::string(kPlainLines) + "keras_epochs = 61\r\n", false)},
        EncodedConfig{"utf16be", utf16(kPlainLines, true), utf16(std::string(kPlainLines) + "keras_epochs = 61\r\n", true)}),
    [](const testing::TestParamInfo<EncodedConfig>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace velmtest
