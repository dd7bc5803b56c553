#include "module_container.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_module_settings.h"

namespace velmcore {
namespace {
namespace fs = std::filesystem;

// A parent item whose file name the test chooses.
class FixedItem : public velmkit::TLocContainer {
public:
    FixedItem(velmkit::TComponent* owner, std::string fileName) : velmkit::TLocContainer(owner), file_(std::move(fileName)) {}
    std::string GetFileName() const override { return file_; }
    std::string GetPath() const override { return file_.empty() ? file_ : file_ + "/sub/"; }

private:
    std::string file_;
};

struct PathCase {
    const char* name;
    ClassPathRule rule;
    std::string parentFile;  // "" with hasParent false: no parent at all
    bool hasParent;
    std::string itemName;
    std::string expected;
};

class ContainerPathTest : public testing::TestWithParam<PathCase> {
protected:
    void TearDown() override { testSettings().pathRule = ClassPathRule::ParentFileName; }
};

TEST_P(ContainerPathTest, JoinsTheParentFolderAndTheName) {
    testSettings().pathRule = GetParam().rule;
    velmkit::TComponent owner(nullptr);
    auto* parent = new FixedItem(&owner, GetParam().parentFile);
    auto* item = new ModuleContainer(&owner);
    item->SetName(GetParam().itemName);
    if (GetParam().hasParent) {
        item->SetParent(parent);
    }
    EXPECT_EQ(item->GetPath(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ContainerPathTest,
    testing::Values(PathCase{"file_rule", ClassPathRule::ParentFileName, "/p/images/train", true, "cats", "/p/images/train/cats/"},
                    PathCase{"no_doubled_delimiter", ClassPathRule::ParentFileName, "/p/train/", true, "cats", "/p/train/cats/"},
                    PathCase{"no_parent", ClassPathRule::ParentFileName, "", false, "cats", ""},
                    PathCase{"parent_without_file", ClassPathRule::ParentFileName, "", true, "cats", ""},
                    PathCase{"dot_dot_name", ClassPathRule::ParentFileName, "/p/train", true, "..", ""},
                    PathCase{"slash_in_name", ClassPathRule::ParentFileName, "/p/train", true, "a/b", ""},
                    PathCase{"empty_name", ClassPathRule::ParentFileName, "/p/train", true, "", ""},
                    PathCase{"path_rule", ClassPathRule::ParentPath, "/p/data", true, "Train", "/p/data/sub/Train/"}),
    [](const testing::TestParamInfo<PathCase>& param) { return std::string(param.param.name); });

TEST(ContainerPath, ParentPathRuleFindsTheFolderThatDiffersOnlyInCase) {
    testSettings().pathRule = ClassPathRule::ParentPath;
    const fs::path root = fs::temp_directory_path() / ("velm-core-case-" + std::to_string(::getpid()));
    fs::create_directories(root / "sub" / "train");
    fs::create_directories(root / "sub" / "Both");
    fs::create_directories(root / "sub" / "both");
    velmkit::TComponent owner(nullptr);
    auto* parent = new FixedItem(&owner, root.string());
    struct Case {
        std::string name;
        std::string folder;
    };
    for (const Case& c : {Case{"Train", "train"}, Case{"train", "train"}, Case{"BOTH", "BOTH"}, Case{"both", "both"},
                          Case{"Missing", "Missing"}}) {
        auto* item = new ModuleContainer(&owner);
        item->SetName(c.name);
        item->SetParent(parent);
        EXPECT_EQ(item->GetPath(), (root / "sub" / c.folder).string() + "/") << c.name;
    }
    testSettings().pathRule = ClassPathRule::ParentFileName;
    fs::remove_all(root);
}

TEST(ContainerClass, TypeTestFollowsTheModulesClassName) {
    velmkit::TComponent owner(nullptr);
    velmkit::TVelmContainer* item = moduleContainerClass()->Create(&owner);
    EXPECT_EQ(item->ClassName(), "TTstContainer");
    EXPECT_TRUE(moduleContainerClass()->IsInstance(item));
    EXPECT_EQ(asModuleContainer(item), item);
    velmkit::TLocContainer other(nullptr);
    EXPECT_FALSE(moduleContainerClass()->IsInstance(&other));
    EXPECT_EQ(asModuleContainer(nullptr), nullptr);
}

}  // namespace
}  // namespace velmcore
