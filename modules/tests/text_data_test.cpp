// The text-data modules: Open Class imports into the module's fixed data
// item, whatever the tree shows selected.
#include <gtest/gtest.h>

#include <filesystem>

#include "module_host.h"

namespace velmtest {
namespace {
namespace fs = std::filesystem;

// Where each module's data item lies in the fixture: the template's folders
// are lower case while the items are "Train" and "Data".
std::string dataFolder(const ModuleFacts& facts) {
    return facts.deliverable == "parlomat" ? "data/chatbot/train" : "data";
}
std::string dataItemPath(const ModuleFacts& facts) {
    return facts.deliverable == "parlomat" ? "data/chatbot/Train" : "Data";
}

class TextDataTest : public testing::TestWithParam<ModuleFacts> {
protected:
    void SetUp() override {
        host = std::make_unique<ModuleHost>(GetParam(), "text_project");
        host->buildRibbon();
        source = host->project().folder().parent_path() / "sources";
        fs::create_directories(source);
    }
    std::string sourceFile(const std::string& name, const std::string& content) {
        ProjectCopy::writeFile(source / name, content);
        return (source / name).string();
    }
    std::unique_ptr<ModuleHost> host;
    fs::path source;
};

TEST_P(TextDataTest, DataItemPathFollowsTheParentChainToTheExistingFolder) {
    velmkit::TVelmContainer* item = host->item(dataItemPath(GetParam()));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->ClassName(), GetParam().containerClass);
    EXPECT_EQ(item->GetPath(), (host->project().folder() / dataFolder(GetParam())).string() + "/");
}

TEST_P(TextDataTest, OpenClassImportsIntoTheDataItemWhateverIsSelected) {
    for (const std::string& selected : {std::string(), std::string("HTML"), std::string("config")}) {
        host->select(selected);
        EXPECT_TRUE(host->ribbonItem("Open Class")->Action()->Enabled()) << selected;
    }
    const std::string fresh = sourceFile("fresh." + GetParam().defaultExt, "fresh");
    const std::string existing = sourceFile(GetParam().deliverable == "parlomat" ? "ai.yml" : "data.csv", "replacement");
    host->ui().QueueFiles(std::vector<std::string>{fresh, existing});
    ASSERT_TRUE(host->click("Open Class"));
    ASSERT_EQ(host->ui().Log().size(), 1u);
    EXPECT_EQ(host->ui().Log()[0].text, (host->project().folder() / dataFolder(GetParam())).string() + "/");
    EXPECT_EQ(host->project().read(dataFolder(GetParam()) + "/fresh." + GetParam().defaultExt), "fresh");
    const std::string kept = GetParam().deliverable == "parlomat" ? "data/chatbot/train/ai.yml" : "data/data.csv";
    EXPECT_NE(host->project().read(kept), "replacement");
}

TEST_P(TextDataTest, WithoutTheDataItemOrItsFolderNothingHappens) {
    host->item(dataItemPath(GetParam()))->SetName("Renamed");
    host->ui().QueueFiles(std::vector<std::string>{sourceFile("a.txt", "a")});
    host->click("Open Class");
    EXPECT_TRUE(host->ui().Log().empty());

    host->item(dataItemPath(GetParam()).substr(0, dataItemPath(GetParam()).rfind('/') + 1) + "Renamed")
        ->SetName(GetParam().dataItem);
    fs::remove_all(host->project().folder() / dataFolder(GetParam()));
    host->click("Open Class");
    EXPECT_TRUE(host->ui().Log().empty());
}

TEST_P(TextDataTest, MissingTestPathLineIsAppendedOnceWithItsDefault) {
    const std::string defaultPath = GetParam().deliverable == "parlomat" ? "data/classification" : "data/test";
    const std::string config = host->project().read("config.py");
    const std::string appended = "\r\ntest_path = \"" + defaultPath + "\"\r\n";
    ASSERT_GE(config.size(), appended.size());
    EXPECT_EQ(config.substr(config.size() - appended.size()), appended);
    EXPECT_EQ(config.find("train_path = \"data/chatbot/train\"\r\n"), 0u);
    host->buildRibbon();
    EXPECT_EQ(host->project().read("config.py"), config);
}

TEST_P(TextDataTest, NoClassCommandsBesideOpenClass) {
    EXPECT_EQ(host->ribbonItem("Create Class"), nullptr);
    EXPECT_EQ(host->ribbonItem("Remove Class"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Modules, TextDataTest, testing::ValuesIn(textDataModules()),
                         [](const testing::TestParamInfo<ModuleFacts>& param) { return printName(param.param); });

}  // namespace
}  // namespace velmtest
