// Create, Remove and Open Class of the six class-folder modules, checked on
// the tree, the disk and the saved descriptor.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "module_host.h"

namespace velmtest {
namespace {
namespace fs = std::filesystem;

class ClassCommandsTest : public testing::TestWithParam<ModuleFacts> {
protected:
    void SetUp() override {
        host = std::make_unique<ModuleHost>(GetParam(), "class_project");
        // The trash on the project's own file system, away from the user's.
        trash = host->project().folder().parent_path() / "xdg";
        fs::create_directories(trash);
        ::setenv("XDG_DATA_HOME", trash.c_str(), 1);
        host->buildRibbon();
    }
    void TearDown() override {
        host.reset();
        ::unsetenv("XDG_DATA_HOME");
    }

    fs::path folder(const std::string& relative) const { return host->project().folder() / relative; }
    velmkit::TAction* action(const std::string& caption) { return host->ribbonItem(caption)->Action(); }
    std::vector<std::string> childNames(const std::string& path) const {
        std::vector<std::string> names;
        velmkit::TVelmContainer* parent = host->item(path);
        for (int i = 0; parent && i < parent->Count(); ++i) {
            auto* child = dynamic_cast<velmkit::TVelmContainer*>(parent->At(i));
            names.push_back(child ? child->ClassName() + ":" + child->Name() : "?");
        }
        return names;
    }
    std::string cls(const std::string& name) const { return GetParam().containerClass + ":" + name; }
    // Files to import, in folders of their own beside the project.
    std::string sourceFile(const std::string& subfolder, const std::string& name, const std::string& content) {
        const fs::path dir = host->project().folder().parent_path() / "sources" / subfolder;
        fs::create_directories(dir);
        ProjectCopy::writeFile(dir / name, content);
        return (dir / name).string();
    }

    std::unique_ptr<ModuleHost> host;
    fs::path trash;
};

TEST_P(ClassCommandsTest, SelectionEnablesAllThreeCommandsTogether) {
    struct Case {
        std::string selected;
        bool enabled;
    };
    const std::vector<Case> cases = {
        {"ImageClasses/train", true},        {"ImageClasses/test", true},  {"ImageClasses/train/cats", true},
        {"ImageClasses/test/cats", true},    {"ImageClasses/Train", false}, {"ImageClasses", false},
        {"notes", false},                    {"config", false},             {"", false},
    };
    for (const Case& c : cases) {
        host->select(c.selected);
        for (const char* caption : {"Create Class", "Open Class", "Remove Class"}) {
            EXPECT_EQ(action(caption)->Enabled(), c.enabled) << caption << " on '" << c.selected << "'";
        }
        EXPECT_EQ(host->ribbonItem("Create Class")->Click(), c.enabled);
    }
}

TEST_P(ClassCommandsTest, CreateBelowAHolderMakesFolderItemNodeAndSaves) {
    host->select("ImageClasses/train");
    host->ui().QueueInput("birds 2");
    ASSERT_TRUE(host->click("Create Class"));
    ASSERT_EQ(host->ui().Log().size(), 1u);
    EXPECT_EQ(host->ui().Log()[0].text, "Create Images Class: Enter Class name");
    EXPECT_TRUE(fs::is_directory(folder("images/train/birds 2")));
    EXPECT_EQ(childNames("ImageClasses/train"),
              (std::vector<std::string>{cls("cats"), cls("dogs"), cls("birds"), cls("birds 2")}));
    velmkit::TVelmContainer* created = host->item("ImageClasses/train/birds 2");
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->GetParent(), host->item("ImageClasses/train"));
    ASSERT_NE(created->GetTreeNode(), nullptr);
    EXPECT_EQ(created->GetTreeNode()->Caption(), "birds 2");
    EXPECT_EQ(created->GetTreeNode()->Parent(), host->item("ImageClasses/train")->GetTreeNode());
    EXPECT_EQ(created->GetPath(), folder("images/train/birds 2").string() + "/");
    EXPECT_EQ(host->savedChildNames("ImageClasses/train"), childNames("ImageClasses/train"));
}

TEST_P(ClassCommandsTest, CreateWithAClassSelectedMakesASibling) {
    host->select("ImageClasses/test/cats");
    host->ui().QueueInput("owls");
    host->click("Create Class");
    EXPECT_TRUE(fs::is_directory(folder("images/test/owls")));
    EXPECT_EQ(childNames("ImageClasses/test"), (std::vector<std::string>{cls("cats"), cls("owls")}));
}

TEST_P(ClassCommandsTest, AClassNamedTrainCountsAsAHolder) {
    host->select("ImageClasses/train");
    host->ui().QueueInput("test");
    host->click("Create Class");
    host->select("ImageClasses/train/test");
    host->ui().QueueInput("inner");
    host->click("Create Class");
    EXPECT_TRUE(fs::is_directory(folder("images/train/test/inner")));
    EXPECT_EQ(childNames("ImageClasses/train/test"), (std::vector<std::string>{cls("inner")}));
}

TEST_P(ClassCommandsTest, ExistingFolderGetsAnItemAndKeepsItsFiles) {
    host->select("ImageClasses/train");
    host->ui().QueueInput("cats");
    host->click("Create Class");
    EXPECT_TRUE(fs::exists(folder("images/train/cats/cat1.jpg")));
    EXPECT_EQ(childNames("ImageClasses/train"),
              (std::vector<std::string>{cls("cats"), cls("dogs"), cls("birds"), cls("cats")}));
}

TEST_P(ClassCommandsTest, MissingParentFolderCreatesNothing) {
    fs::remove_all(folder("images/test"));
    const std::string before = host->project().read("pwa.pwa");
    host->select("ImageClasses/test");
    host->ui().QueueInput("owls");
    host->click("Create Class");
    EXPECT_FALSE(fs::exists(folder("images/test")));
    EXPECT_EQ(childNames("ImageClasses/test"), (std::vector<std::string>{cls("cats")}));
    EXPECT_EQ(host->project().read("pwa.pwa"), before);
}

TEST_P(ClassCommandsTest, CancelOrUnusableNamesCreateNothing) {
    const std::string before = host->project().read("pwa.pwa");
    host->select("ImageClasses/train");
    host->ui().QueueInput(std::nullopt);
    host->click("Create Class");
    EXPECT_TRUE(host->ui().Messages().empty());
    const std::vector<std::string> refused = {"", "  ", ".", "..", "../escape", "a/b", "a\\b", "x:y", "trailing."};
    for (const std::string& name : refused) {
        host->ui().QueueInput(name);
        host->click("Create Class");
    }
    const std::vector<std::string> messages = host->ui().Messages();
    ASSERT_EQ(messages.size(), refused.size());
    for (size_t i = 0; i < refused.size(); ++i) {
        EXPECT_NE(messages[i].find("\"" + refused[i] + "\" was not created"), std::string::npos) << messages[i];
    }
    EXPECT_FALSE(fs::exists(folder("images/escape")));
    EXPECT_FALSE(fs::exists(folder("images/train/a")));
    EXPECT_EQ(childNames("ImageClasses/train"), (std::vector<std::string>{cls("cats"), cls("dogs"), cls("birds")}));
    EXPECT_EQ(host->project().read("pwa.pwa"), before);
}

TEST_P(ClassCommandsTest, RemoveOnAHolderOrAnsweredNoChangesNothing) {
    const std::string before = host->project().read("pwa.pwa");
    host->select("ImageClasses/train");
    host->click("Remove Class");
    EXPECT_TRUE(host->ui().Log().empty());

    host->select("ImageClasses/train/cats");
    host->ui().QueueAnswer(velmkit::mrNo);
    host->click("Remove Class");
    ASSERT_EQ(host->ui().Log().size(), 1u);
    EXPECT_EQ(host->ui().Log()[0].text, "Remove selected class cats");
    EXPECT_TRUE(fs::exists(folder("images/train/cats/cat1.jpg")));
    EXPECT_NE(host->item("ImageClasses/train/cats"), nullptr);
    EXPECT_EQ(host->project().read("pwa.pwa"), before);
}

TEST_P(ClassCommandsTest, RemoveMovesTheFolderToTheTrashDetachesAndSaves) {
    host->select("ImageClasses/train/cats");
    velmkit::TVelmContainer* cats = host->item("ImageClasses/train/cats");
    host->ui().QueueAnswer(velmkit::mrYes);
    host->click("Remove Class");
    EXPECT_FALSE(fs::exists(folder("images/train/cats")));
    EXPECT_TRUE(fs::exists(trash / "Trash/files/cats/cat1.jpg"));
    EXPECT_TRUE(fs::exists(trash / "Trash/info/cats.trashinfo"));
    EXPECT_EQ(childNames("ImageClasses/train"), (std::vector<std::string>{cls("dogs"), cls("birds")}));
    EXPECT_EQ(cats->GetTreeNode(), nullptr);
    EXPECT_EQ(host->tree().FindNode(cats), nullptr);
    EXPECT_FALSE(host->item("ImageClasses/train")->OwnsObjects());
    EXPECT_EQ(host->savedChildNames("ImageClasses/train"), childNames("ImageClasses/train"));
}

TEST_P(ClassCommandsTest, RemoveOfAClassWhoseFolderIsGoneStillDetachesAndSaves) {
    fs::remove_all(folder("images/train/dogs"));
    host->select("ImageClasses/train/dogs");
    host->ui().QueueAnswer(velmkit::mrYes);
    host->click("Remove Class");
    EXPECT_EQ(host->savedChildNames("ImageClasses/train"), (std::vector<std::string>{cls("cats"), cls("birds")}));
}

TEST_P(ClassCommandsTest, FolderFallbackOfTheAudioModules) {
    // birds: no folder images/train/birds, but its own FileName names images/elsewhere/birds.
    host->select("ImageClasses/train/birds");
    host->ui().QueueFiles(std::vector<std::string>{sourceFile("one", "new.jpg", "n")});
    host->click("Open Class");
    EXPECT_EQ(fs::exists(folder("images/elsewhere/birds/new.jpg")), GetParam().folderFallback);
    EXPECT_EQ(host->ui().Log().size(), GetParam().folderFallback ? 1u : 0u);

    host->ui().QueueAnswer(velmkit::mrYes);
    host->click("Remove Class");
    EXPECT_EQ(fs::exists(folder("images/elsewhere/birds")), !GetParam().folderFallback);
    EXPECT_EQ(host->savedChildNames("ImageClasses/train"), (std::vector<std::string>{cls("cats"), cls("dogs")}));
}

TEST_P(ClassCommandsTest, FallbackNeverTakesTheProjectFolderItself) {
    velmkit::TVelmContainer* birds = host->item("ImageClasses/train/birds");
    birds->SetFileName(".");
    host->select("ImageClasses/train/birds");
    host->ui().QueueAnswer(velmkit::mrYes);
    host->click("Remove Class");
    EXPECT_TRUE(fs::exists(folder("pwa.pwa")));
    EXPECT_TRUE(fs::exists(folder("images/train/cats")));
}

TEST_P(ClassCommandsTest, OpenCopiesChosenFilesWithoutReplacingAny) {
    host->select("ImageClasses/train/cats");
    const std::string fresh = sourceFile("one", "fresh.jpg", "fresh");
    const std::string clash = sourceFile("one", "cat1.jpg", "other cat");
    const std::string twinA = sourceFile("one", "twin.jpg", "first twin");
    const std::string twinB = sourceFile("two", "twin.jpg", "second twin");
    host->ui().QueueFiles(std::vector<std::string>{fresh, clash, twinA, twinB});
    host->click("Open Class");
    ASSERT_EQ(host->ui().Log().size(), 1u);
    EXPECT_EQ(host->ui().Log()[0].text, folder("images/train/cats").string() + "/");
    EXPECT_EQ(host->project().read("images/train/cats/fresh.jpg"), "fresh");
    EXPECT_EQ(host->project().read("images/train/cats/cat1.jpg"), "x\r\n");
    EXPECT_EQ(host->project().read("images/train/cats/twin.jpg"), "first twin");
}

TEST_P(ClassCommandsTest, OpenOnAHolderImportsIntoItsFolderAndCancelCopiesNothing) {
    host->select("ImageClasses/train");
    host->ui().QueueFiles(std::nullopt);
    host->click("Open Class");
    host->ui().QueueFiles(std::vector<std::string>{sourceFile("one", "single.jpg", "s")});
    host->click("Open Class");
    EXPECT_EQ(host->project().read("images/train/single.jpg"), "s");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder("images/train")), fs::directory_iterator()), 3);
}

INSTANTIATE_TEST_SUITE_P(Modules, ClassCommandsTest, testing::ValuesIn(classFolderModules()),
                         [](const testing::TestParamInfo<ModuleFacts>& param) { return printName(param.param); });

TEST(ClassCommandsWithoutProject, CommandsStayDisabledAndDoNothing) {
    ModuleHost host(allModules().at(0));
    host.buildRibbon();
    velmkit::Application().UpdateActions(&host.mainForm());
    for (const char* caption : {"Create Class", "Open Class", "Remove Class"}) {
        EXPECT_FALSE(host.ribbonItem(caption)->Action()->Enabled()) << caption;
        EXPECT_FALSE(host.click(caption));
    }
    EXPECT_TRUE(host.ui().Log().empty());
}

}  // namespace
}  // namespace velmtest
