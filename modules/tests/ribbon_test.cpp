// The two ribbon groups of every module, checked as data: one table of
// "Build Options" controls per module, the menu rows, and what building the
// ribbon stores into an empty config.py.
#include <gtest/gtest.h>

#include <map>

#include "module_host.h"

namespace velmtest {
namespace {

struct Control {
    std::string kind;  // "label" or "edit"
    std::string text;  // label caption, or the text an edit shows
    int top;
    int left;
    int width;  // edits only
    int tag;
    bool enabled;
};

Control L(const std::string& caption, int top, int left) {
    return {"label", caption, top, left, 0, 0, true};
}
Control E(int tag, const std::string& shown, int top, int left, int width, bool enabled) {
    return {"edit", shown, top, left, width, tag, enabled};
}

struct RibbonFacts {
    std::vector<std::string> menu;
    std::vector<Control> options;
    std::string storedFromEmptyConfig;
};

const std::vector<std::string> kClassMenu = {"Create &Class", "&Open Class", "&Remove Class", "-",
                                             "&Build All",    "-",           "&Publish All"};
const std::vector<std::string> kDataMenu = {"&Open Class", "-", "&Build All", "-", "&Publish All"};

std::vector<Control> imagePaths(const std::string& folder) {
    return {L("Train path:", 4, 5),   E(10, folder + "\\train", 2, 60, 90, false),
            L("Test path:", 4, 157),  E(11, folder + "\\test", 2, 210, 90, false),
            L("Model path:", 4, 305), E(12, "model", 2, 365, 90, false)};
}

std::vector<Control> joined(std::vector<Control> first, const std::vector<Control>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::vector<Control> poseRow(const std::string& height, const std::string& width, const std::string& epochs) {
    return {L("Train image size:", 25, 5), E(13, height, 22, 88, 50, false), L("X", 25, 142),
            E(14, width, 22, 150, 50, false), L("X", 25, 202), E(15, "1", 22, 210, 20, false),
            L("Train TessalyANN epoch:", 25, 235), E(17, epochs, 23, 365, 90, true)};
}

std::string poseStored(const std::string& epochs) {
    return "train_images_path = \"images/train\"\r\ntest_images_path = \"images/test\"\r\nmodel_path = \"model\"\r\n"
           "qnet_epochs = " + epochs + "\r\n";
}

const std::vector<Control> kDataPaths = {
    L("Train path:", 4, 5),   E(10, "data\\train", 2, 60, 90, false), L("Test path:", 4, 157),
    E(11, "data\\test", 2, 210, 90, false), L("Model path:", 4, 305), E(12, "model", 2, 365, 90, false)};
const std::string kDataPathsStored = "train_path = \"data/train\"\r\ntest_path = \"data/test\"\r\nmodel_path = \"model\"\r\n";

const std::map<std::string, RibbonFacts>& ribbonFacts() {
    static const std::map<std::string, RibbonFacts> facts = {
        {"visagor",
         {kClassMenu,
          joined(imagePaths("images_cropped"),
                 {L("Train image size:", 25, 5), E(13, "192", 22, 88, 50, false), L("X", 25, 142),
                  E(14, "192", 22, 150, 50, false), L("X", 25, 202), E(15, "1", 22, 210, 20, false),
                  L("Train epoch Keras/Q-Net:", 25, 235), E(16, "60", 23, 365, 40, true), L("/", 25, 408),
                  E(17, "300", 23, 415, 40, true)}),
          "train_images_path = \"images_cropped/train\"\r\ntest_images_path = \"images_cropped/test\"\r\n"
          "model_path = \"model\"\r\nkeras_epochs = 60\r\nqnet_epochs = 300\r\n"}},
        {"palmetry", {kClassMenu, joined(imagePaths("images"), poseRow("640", "480", "300")), poseStored("300")}},
        {"figurant", {kClassMenu, joined(imagePaths("images"), poseRow("480", "360", "100")), poseStored("100")}},
        {"moodaris", {kClassMenu, joined(imagePaths("images"), poseRow("640", "480", "100")), poseStored("100")}},
        {"vocatrix",
         {kClassMenu,
          joined(kDataPaths, {L("Qnet batch size:", 25, 5), E(13, "1", 22, 85, 115, false),
                              L("Train epoch Keras/Q-Net:", 25, 210), E(16, "3", 23, 365, 40, true), L("/", 25, 408),
                              E(17, "5", 23, 415, 40, true)}),
          kDataPathsStored + "keras_epochs = 3\r\nqnet_epochs = 5\r\n"}},
        {"voxident",
         {kClassMenu,
          joined(kDataPaths, {L("Qnet batch size:", 25, 5), E(13, "1", 22, 85, 115, false),
                              L("Training Tessaly QANN epochs:", 25, 210), E(17, "10", 23, 365, 90, true)}),
          kDataPathsStored + "qnet_epochs = 10\r\n"}},
        {"parlomat",
         {kDataMenu,
          {L("Train path:", 4, 5), E(10, "data/chatbot/train", 2, 60, 90, false), L("Class path:", 4, 157),
           E(11, "data/classification", 2, 210, 90, false), L("Model path:", 4, 305),
           E(12, "model/chatbot", 2, 365, 90, false), L("Qnet batch size:", 25, 5), E(13, "1", 22, 85, 115, false),
           L("Train epoch Keras/Q-Net:", 25, 210), E(16, "250", 23, 365, 40, true), L("/", 25, 408),
           E(17, "1000", 23, 415, 40, true)},
          "train_path = \"data/chatbot/train\"\r\ntest_path = \"data/classification\"\r\n"
          "model_path = \"model/chatbot\"\r\nkeras_epochs = 250\r\nqnet_epochs = 1000\r\n"}},
        {"titulane",
         {kDataMenu,
          joined(kDataPaths, {L("Qnet batch size:", 25, 5), E(13, "1", 22, 85, 115, false),
                              L("Train epoch Keras/Q-Net:", 25, 235), E(16, "3", 23, 365, 40, true), L("/", 25, 408),
                              E(17, "20", 23, 415, 40, true)}),
          kDataPathsStored + "keras_epochs = 3\r\nqnet_epochs = 20\r\n"}},
    };
    return facts;
}

std::vector<velmkit::TRibbonGroup*> groupsOf(ModuleHost& host) {
    return velmkit::RibbonGroups(host.mainForm().Ribbon());
}

class RibbonTest : public testing::TestWithParam<ModuleFacts> {};

TEST_P(RibbonTest, MenuGroupOffersTheModulesCommands) {
    ModuleHost host(GetParam(), "class_project");
    host.buildRibbon();
    const auto groups = groupsOf(host);
    ASSERT_EQ(groups.size(), 2u);
    velmkit::TRibbonGroup* menu = groups[0];
    EXPECT_EQ(menu->Caption(), "Menu");
    EXPECT_EQ(menu->GroupIndex(), 0);
    EXPECT_EQ(menu->KeyTip(), "1");
    EXPECT_EQ(menu->GroupAlign(), velmkit::TGroupAlign::gaVertical);
    EXPECT_EQ(menu->Parent(), host.form()->GetRibbonPage());
    EXPECT_EQ(menu->Owner(), host.form()->GetRibbonPage());
    ASSERT_EQ(menu->Items()->Count(), 1);

    velmkit::TActionClientItem* build = menu->Items()->Items(0);
    EXPECT_EQ(build->Caption(), "&Build");
    EXPECT_EQ(build->CommandStyle(), velmkit::TCommandStyle::csButton);
    ASSERT_NE(build->CommandProperties(), nullptr);
    EXPECT_EQ(build->CommandProperties()->ButtonSize, velmkit::TButtonSize::bsLarge);
    EXPECT_EQ(build->CommandProperties()->ButtonType, velmkit::TButtonType::btSplit);
    EXPECT_EQ(build->CommandProperties()->GroupPosition, velmkit::TGroupPosition::gpNone);
    ASSERT_NE(build->Action(), nullptr);

    const std::vector<std::string>& expected = ribbonFacts().at(GetParam().deliverable).menu;
    ASSERT_EQ(build->Items()->Count(), static_cast<int>(expected.size()));
    for (int i = 0; i < build->Items()->Count(); ++i) {
        velmkit::TActionClientItem* item = build->Items()->Items(i);
        EXPECT_EQ(item->Caption(), expected[i]);
        if (expected[i] == "-") {
            EXPECT_EQ(item->Action(), nullptr);
            continue;
        }
        ASSERT_NE(item->Action(), nullptr) << expected[i];
        const bool classCommand = expected[i].find("Class") != std::string::npos;
        const std::string actionClass =
            classCommand && !GetParam().textData() ? GetParam().actionClass : std::string("TAction");
        EXPECT_EQ(item->Action()->ClassName(), actionClass) << expected[i];
        EXPECT_EQ(item->Action()->Owner(), host.form()) << expected[i];
    }
}

TEST_P(RibbonTest, BuildOptionsTableAndDefaultsStoredIntoAnEmptyConfig) {
    ModuleHost host(GetParam(), "class_project");
    host.project().write("config.py", "");
    host.buildRibbon();
    const auto groups = groupsOf(host);
    ASSERT_EQ(groups.size(), 2u);
    velmkit::TRibbonGroup* options = groups[1];
    EXPECT_EQ(options->Caption(), "Build Options");
    EXPECT_EQ(options->GroupIndex(), 1);
    EXPECT_EQ(options->KeyTip(), "2");
    EXPECT_EQ(options->Width(), 500);
    EXPECT_EQ(options->GroupAlign(), velmkit::TGroupAlign::gaVertical);

    const RibbonFacts& facts = ribbonFacts().at(GetParam().deliverable);
    const size_t settingsControls = facts.options.size();
    ASSERT_EQ(static_cast<size_t>(options->ControlCount()), settingsControls + 5);
    for (size_t i = 0; i < settingsControls; ++i) {
        const Control& want = facts.options[i];
        velmkit::TControl* control = options->Controls(static_cast<int>(i));
        SCOPED_TRACE(testing::Message() << "control " << i << " " << want.text);
        EXPECT_EQ(control->Owner(), options);
        EXPECT_EQ(control->Top(), want.top);
        EXPECT_EQ(control->Left(), want.left);
        EXPECT_TRUE(control->Visible());
        if (want.kind == "label") {
            auto* label = dynamic_cast<velmkit::TLabel*>(control);
            ASSERT_NE(label, nullptr);
            EXPECT_EQ(label->Caption(), want.text);
            continue;
        }
        auto* edit = dynamic_cast<velmkit::TEdit*>(control);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->Text(), want.text);
        EXPECT_EQ(edit->Tag(), want.tag);
        EXPECT_EQ(edit->Width(), want.width);
        EXPECT_EQ(edit->Height(), 18);
        EXPECT_EQ(edit->Enabled(), want.enabled);
        EXPECT_TRUE(static_cast<bool>(edit->OnChange));
    }

    auto* link = dynamic_cast<velmkit::TLinkLabel*>(options->Controls(static_cast<int>(settingsControls)));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->Top(), 50);
    EXPECT_EQ(link->Left(), 5);
    ASSERT_EQ(link->Links().size(), 1u);
    EXPECT_EQ(link->Links()[0].rfind("https://", 0), 0u);
    EXPECT_NE(link->Caption().find(">Http public link</a>"), std::string::npos);

    const velmkit::TVelmShellForm& form = *host.form();
    const std::vector<std::pair<int, int>> placement = {{85, 115}, {210, 110}, {325, 105}, {435, 20}};
    const std::vector<std::string> texts = {form.PublishHost(), form.PublishLogin(), form.PublishPassword(), "21"};
    for (size_t i = 0; i < placement.size(); ++i) {
        auto* edit = dynamic_cast<velmkit::TEdit*>(options->Controls(static_cast<int>(settingsControls + 1 + i)));
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->Top(), 50);
        EXPECT_EQ(edit->Left(), placement[i].first);
        EXPECT_EQ(edit->Width(), placement[i].second);
        EXPECT_EQ(edit->Height(), 18);
        EXPECT_EQ(edit->Tag(), 0);
        EXPECT_FALSE(edit->Visible());
        EXPECT_EQ(edit->Text(), texts[i]);
    }

    EXPECT_EQ(host.project().read("config.py"), facts.storedFromEmptyConfig);
}

TEST_P(RibbonTest, FillingFromACompleteConfigWritesNothing) {
    ModuleHost host(GetParam(), "class_project");
    const std::string complete =
        "train_images_path = \"images_cropped/train\"\r\ntest_images_path = \"t/x\"\r\nmodel_path = \"m\"\r\n"
        "img_height = 7\r\nimg_width = 8\r\nbatch_size = 9\r\nkeras_epochs = 11\r\nqnet_epochs = 12\r\n"
        "train_path = \"d/tr\"\r\ntest_path = \"d/te\"\r\n";
    host.project().write("config.py", complete);
    host.buildRibbon();
    std::map<int, std::string> shown;
    for (velmkit::TEdit* edit : host.optionEdits()) {
        if (edit->Tag() != 0) {
            shown[edit->Tag()] = edit->Text();
        }
    }
    const bool imageKeys = GetParam().deliverable == "visagor" || GetParam().deliverable == "palmetry" ||
                           GetParam().deliverable == "figurant" || GetParam().deliverable == "moodaris";
    EXPECT_EQ(shown.at(10), imageKeys ? "images_cropped/train" : "d/tr");
    EXPECT_EQ(shown.at(11), imageKeys ? "t/x" : "d/te");
    EXPECT_EQ(shown.at(12), "m");
    EXPECT_EQ(shown.at(13), imageKeys ? "7" : "9");
    EXPECT_EQ(shown.at(17), "12");
    EXPECT_EQ(host.project().read("config.py"), complete);
}

TEST_P(RibbonTest, SecondCallAddsASecondPairOfGroups) {
    ModuleHost host(GetParam(), "class_project");
    host.buildRibbon();
    host.buildRibbon();
    std::vector<std::string> captions;
    for (velmkit::TRibbonGroup* group : groupsOf(host)) {
        captions.push_back(group->Caption());
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"Menu", "Build Options", "Menu", "Build Options"}));
}

TEST_P(RibbonTest, NothingIsBuiltWithoutMainFormPageRibbonOrActionManager) {
    ModuleHost host(GetParam(), "class_project");
    host.project().write("config.py", "");
    velmkit::TComponent owner(nullptr);

    host.form()->OnBuildRibbon(nullptr);
    host.form()->OnBuildRibbon(host.form());  // not the main form

    velmkit::TRibbonPage* hostPage = host.form()->GetRibbonPage();
    host.form()->SetRibbonPage(nullptr);
    host.form()->OnBuildRibbon(&host.mainForm());

    auto* loosePage = new velmkit::TRibbonPage(&owner);  // belongs to no ribbon
    host.form()->SetRibbonPage(loosePage);
    host.form()->OnBuildRibbon(&host.mainForm());

    auto* bareRibbon = new velmkit::TRibbon(&owner);  // no action manager
    host.form()->SetRibbonPage(bareRibbon->AddPage("bare"));
    host.form()->OnBuildRibbon(&host.mainForm());

    auto* emptyRibbon = new velmkit::TRibbon(&owner);  // action manager without action bars
    auto* manager = new velmkit::TActionManager(emptyRibbon);
    manager->SetActionBars(nullptr);
    emptyRibbon->SetActionManager(manager);
    host.form()->SetRibbonPage(emptyRibbon->AddPage("empty"));
    host.form()->OnBuildRibbon(&host.mainForm());

    host.form()->SetRibbonPage(hostPage);
    EXPECT_TRUE(groupsOf(host).empty());
    EXPECT_EQ(loosePage->ControlCount(), 0);
    EXPECT_EQ(host.project().read("config.py"), "");
}

INSTANTIATE_TEST_SUITE_P(Modules, RibbonTest, testing::ValuesIn(allModules()),
                         [](const testing::TestParamInfo<ModuleFacts>& param) { return printName(param.param); });

}  // namespace
}  // namespace velmtest
