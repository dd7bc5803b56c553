// Build runs the module's training entry by its position in the build list;
// Publish All publishes, fills the public address once and reports it.
#include <gtest/gtest.h>

#include "module_host.h"

namespace velmtest {
namespace {

// The fixture's build list, the same for every module.
const std::vector<std::string> kBuildList = {"HTML", "train_keras", "train_qnet", "train_all"};

velmkit::TTermWin* terminalAt(ModuleHost& host, int index) {
    return dynamic_cast<velmkit::TTermWin*>(host.frame()->BuildList()->Objects(index));
}

class BuildPublishTest : public testing::TestWithParam<ModuleFacts> {
protected:
    void SetUp() override {
        host = std::make_unique<ModuleHost>(GetParam(), "class_project");
        host->buildRibbon();
    }
    std::string entry() const { return kBuildList.at(static_cast<size_t>(GetParam().buildIndex)); }
    std::unique_ptr<ModuleHost> host;
};

TEST_P(BuildPublishTest, BuildAndBuildAllRunTheEntryAtTheModulesIndex) {
    host->pages().AddPage("HTML");
    velmkit::TPageTab* page = host->pages().AddPage(entry());
    host->pages().AddPage(entry());  // a later page of the same caption stays behind
    for (const char* caption : {"Build", "Build All"}) {
        host->runs.clear();
        host->select("notes");
        host->item(entry())->GetTreeNode()->SetChecked(false);
        ASSERT_TRUE(host->click(caption));
        EXPECT_EQ(host->runs, std::vector<std::string>{entry()}) << caption;
        EXPECT_EQ(host->tree().GetObj(), host->item(entry()));
        EXPECT_TRUE(host->item(entry())->GetTreeNode()->Checked());
        EXPECT_EQ(host->pages().ActivePage(), page);
        EXPECT_TRUE(terminalAt(*host, GetParam().buildIndex)->GetActive());
    }
}

TEST_P(BuildPublishTest, ActiveTerminalIsStartedAgain) {
    host->click("Build");
    velmkit::TTermWin* terminal = terminalAt(*host, GetParam().buildIndex);
    const int before = terminal->RunCount();
    host->click("Build");
    EXPECT_EQ(terminal->RunCount(), before + 1);
    EXPECT_TRUE(terminal->GetActive());
}

TEST_P(BuildPublishTest, WithoutPageWindowTheEntryStillRuns) {
    host->tree().SetVelmWin(nullptr);
    host->click("Build");
    EXPECT_EQ(host->runs, std::vector<std::string>{entry()});
}

TEST_P(BuildPublishTest, ShortBuildListOrMissingItemRunsNothing) {
    host->item(entry())->SetName("renamed");
    host->click("Build");
    EXPECT_TRUE(host->runs.empty());
    EXPECT_FALSE(terminalAt(*host, GetParam().buildIndex)->GetActive());

    host->frame()->BuildList()->SetQuotedText("\"HTML\"");
    host->frame()->AttachTerminals();
    host->click("Build All");
    EXPECT_TRUE(host->runs.empty());
}

TEST_P(BuildPublishTest, FirstSuccessfulPublishSetsTheAddressOnce) {
    const std::string base = host->form()->PublicUrlBase();
    ASSERT_TRUE(host->frame()->PublicUrl().empty());
    host->click("Publish All");
    const std::string address = base + "demo/";
    EXPECT_EQ(host->frame()->PublicUrl(), address);
    host->form()->SetPublicUrlBase("https://elsewhere.example/");
    host->click("Publish All");
    EXPECT_EQ(host->frame()->PublicUrl(), address);
    EXPECT_EQ(host->ui().Messages(),
              (std::vector<std::string>{"Publish " + address + " Success!", "Publish " + address + " Success!"}));
    EXPECT_EQ(host->publishCount, 2);
}

TEST_P(BuildPublishTest, FailedPublishReportsAndKeepsTheAddressEmpty) {
    host->publishSucceeds = false;
    host->click("Publish All");
    EXPECT_EQ(host->ui().Messages(), std::vector<std::string>{"Publish  Error!"});
    EXPECT_TRUE(host->frame()->PublicUrl().empty());
}

TEST_P(BuildPublishTest, EmptyBaseLeavesTheAddressEmpty) {
    host->form()->SetPublicUrlBase("");
    host->click("Publish All");
    EXPECT_TRUE(host->frame()->PublicUrl().empty());
    EXPECT_EQ(host->ui().Messages(), std::vector<std::string>{"Publish  Success!"});
}

TEST_P(BuildPublishTest, LinkOpensTheAnchorUntilTheProjectHasAnAddress) {
    velmkit::TLinkLabel* link = nullptr;
    for (velmkit::TRibbonGroup* group : velmkit::RibbonGroups(host->mainForm().Ribbon())) {
        for (int i = 0; i < group->ControlCount() && !link; ++i) {
            link = dynamic_cast<velmkit::TLinkLabel*>(group->Controls(i));
        }
    }
    ASSERT_NE(link, nullptr);
    ASSERT_TRUE(link->ClickLink());
    host->click("Publish All");
    ASSERT_TRUE(link->ClickLink());
    EXPECT_EQ(host->openedAddresses, (std::vector<std::string>{link->Links().at(0), host->frame()->PublicUrl()}));
}

INSTANTIATE_TEST_SUITE_P(Modules, BuildPublishTest, testing::ValuesIn(allModules()),
                         [](const testing::TestParamInfo<ModuleFacts>& param) { return printName(param.param); });

TEST(BuildWithoutProject, NothingRunsAndNothingIsShown) {
    ModuleHost host(allModules().at(0));
    host.buildRibbon();
    host.click("Build");
    host.click("Publish All");
    EXPECT_TRUE(host.runs.empty());
    EXPECT_TRUE(host.ui().Log().empty());
}

}  // namespace
}  // namespace velmtest
