// The form as the host constructs it: name, publishing settings, open
// dialog, items built by class name, saving through the project frame.
#include <gtest/gtest.h>

#include <filesystem>

#include "module_host.h"

namespace velmtest {
namespace {

velmkit::TOpenDialog* openDialogOf(const velmkit::TVelmForm& form) {
    for (int i = 0; i < form.ComponentCount(); ++i) {
        if (auto* dialog = dynamic_cast<velmkit::TOpenDialog*>(form.Components(i))) {
            return dialog;
        }
    }
    return nullptr;
}

class FormTest : public testing::TestWithParam<ModuleFacts> {};

TEST_P(FormTest, NewFormCarriesNameSettingsAndDialog) {
    ModuleHost host(GetParam());
    velmkit::TVelmShellForm* form = host.form();
    EXPECT_EQ(form->Name(), GetParam().componentName);
    EXPECT_EQ(form->PublishPort(), 21);
    EXPECT_EQ(form->PublishPassword(), "quarz86420975tunnel");
    EXPECT_FALSE(form->PublishHost().empty());
    EXPECT_NE(form->PublishLogin().find('@'), std::string::npos);
    EXPECT_EQ(form->PublicUrlBase().rfind("https://", 0), 0u);
    EXPECT_EQ(form->PublicUrlBase().back(), '/');
    EXPECT_TRUE(static_cast<bool>(form->OnBuildRibbon));

    ASSERT_EQ(form->RegisteredClasses().size(), 1u);
    EXPECT_EQ(form->RegisteredClasses()[0]->ClassName(), GetParam().containerClass);

    velmkit::TOpenDialog* dialog = openDialogOf(*form);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->Owner(), form);
    EXPECT_EQ(dialog->Filter(), GetParam().dialogFilter);
    EXPECT_EQ(dialog->FilterIndex(), 1);
    EXPECT_EQ(dialog->DefaultExt(), GetParam().defaultExt);
    EXPECT_EQ(dialog->Options().count(velmkit::TOpenOption::ofAllowMultiSelect), 1u);
    // The dialog's default options stay.
    EXPECT_EQ(dialog->Options().count(velmkit::TOpenOption::ofHideReadOnly), 1u);
}

TEST_P(FormTest, CreateObjectMatchesTheContainerClassIgnoringCaseOnly) {
    ModuleHost host(GetParam());
    const std::string name = GetParam().containerClass;
    std::string lower = name;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    struct Case {
        std::string className;
        std::string builtClass;  // "" for none
    };
    const std::vector<Case> cases = {
        {name, name},
        {lower, name},
        {name + " ", ""},
        {" " + name, ""},
        {name + "s", ""},
        {name.substr(0, name.size() - 1), ""},
        {"", ""},
        {"TVelmContainer", ""},
        {"TPubContainer", "TPubContainer"},
        {"tloccontainer", "TLocContainer"},
    };
    for (const Case& c : cases) {
        velmkit::TVelmContainer* item = host.form()->CreateObject(c.className);
        if (c.builtClass.empty()) {
            EXPECT_EQ(item, nullptr) << "'" << c.className << "'";
            continue;
        }
        ASSERT_NE(item, nullptr) << "'" << c.className << "'";
        EXPECT_EQ(item->ClassName(), c.builtClass);
        EXPECT_EQ(item->Owner(), host.form());
        EXPECT_EQ(item->GetParent(), nullptr);
    }
}

TEST_P(FormTest, SaveWithoutProjectFrameChangesNothing) {
    ModuleHost host(GetParam());
    EXPECT_FALSE(host.form()->Save(nullptr));
    // Object 0 that is not a project frame.
    velmkit::TLocContainer stranger(nullptr);
    host.form()->AddObject(&stranger);
    EXPECT_FALSE(host.form()->Save(nullptr));
    host.form()->RemoveObject(&stranger);
}

TEST_P(FormTest, SaveWritesTheProjectThroughItsFrame) {
    ModuleHost host(GetParam(), "class_project");
    const auto descriptor = host.project().folder() / "pwa.pwa";
    host.frame()->SetPublicUrl("https://example.invalid/saved/");
    EXPECT_TRUE(host.form()->Save(nullptr));
    EXPECT_NE(host.project().read("pwa.pwa").find("https://example.invalid/saved/"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(descriptor));
}

INSTANTIATE_TEST_SUITE_P(Modules, FormTest, testing::ValuesIn(allModules()),
                         [](const testing::TestParamInfo<ModuleFacts>& param) { return printName(param.param); });

}  // namespace
}  // namespace velmtest
