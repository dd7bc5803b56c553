// Loading a module registers its form class with the running host program,
// unloading withdraws it; in any other program the library stays inert.
#include <gtest/gtest.h>

#include "module_host.h"

namespace velmtest {
namespace {

struct Event {
    velmkit::RegistryEvent kind;
    std::string className;
};

class RegistrationTest : public testing::TestWithParam<ModuleFacts> {
protected:
    void SetUp() override {
        velmkit::SetRegistryObserver([this](velmkit::RegistryEvent kind, const velmkit::TFormClass* formClass) {
            events.push_back({kind, formClass ? formClass->ClassName() : "<null>"});
        });
    }
    void TearDown() override {
        velmkit::SetRegistryObserver(nullptr);
        velmkit::SetInitProgram(0);
    }
    std::vector<Event> events;
};

TEST_P(RegistrationTest, InertWhenNotLoadedByTheHostProgram) {
    velmkit::SetInitProgram(0);
    {
        LoadedModule module(modulePath(GetParam().deliverable));
        EXPECT_EQ(velmkit::FindModuleClass(GetParam().formClass), nullptr);
    }
    EXPECT_TRUE(events.empty());
}

TEST_P(RegistrationTest, RegistersOnceOnLoadAndUnregistersOnceOnUnload) {
    velmkit::SetInitProgram(1);
    const std::string path = modulePath(GetParam().deliverable);
    LoadedModule module(path);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, velmkit::RegistryEvent::Register);
    EXPECT_EQ(events[0].className, GetParam().formClass);
    const velmkit::TFormClass* registered = velmkit::FindModuleClass(GetParam().formClass);
    ASSERT_NE(registered, nullptr);

    module.unload();
    EXPECT_EQ(::dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "the library stayed loaded";
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].kind, velmkit::RegistryEvent::UnRegister);
    EXPECT_EQ(events[1].className, GetParam().formClass);
    EXPECT_EQ(velmkit::FindModuleClass(GetParam().formClass), nullptr);
}

TEST_P(RegistrationTest, TheRegisteredClassBuildsFormsOfItsOwnClass) {
    velmkit::SetInitProgram(1);
    LoadedModule module(modulePath(GetParam().deliverable));
    const velmkit::TFormClass* formClass = velmkit::FindModuleClass(GetParam().formClass);
    ASSERT_NE(formClass, nullptr);
    velmkit::TComponent owner(nullptr);
    velmkit::TVelmForm* form = formClass->Create(&owner);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Owner(), &owner);
    EXPECT_EQ(form->ClassName(), GetParam().formClass);
    EXPECT_TRUE(formClass->IsInstance(form));
    EXPECT_NE(dynamic_cast<velmkit::TVelmShellForm*>(form), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Modules, RegistrationTest, testing::ValuesIn(allModules()),
                         [](const testing::TestParamInfo<ModuleFacts>& param) { return printName(param.param); });

// Two modules in one host: each type test knows only its own classes.
TEST(RegistrationTogether, FormsOfTwoModulesAreNotEachOthersClass) {
    velmkit::SetInitProgram(1);
    {
    LoadedModule face(modulePath("visagor"));
    LoadedModule speech(modulePath("vocatrix"));
    const velmkit::TFormClass* faceClass = velmkit::FindModuleClass("TFacClsForm");
    const velmkit::TFormClass* speechClass = velmkit::FindModuleClass("TVocatrixForm");
    ASSERT_TRUE(faceClass && speechClass);
    velmkit::TComponent owner(nullptr);
    velmkit::TVelmForm* faceForm = faceClass->Create(&owner);
    velmkit::TVelmForm* speechForm = speechClass->Create(&owner);
    EXPECT_TRUE(faceClass->IsInstance(faceForm));
    EXPECT_FALSE(faceClass->IsInstance(speechForm));
    EXPECT_FALSE(speechClass->IsInstance(faceForm));
    // A speech item is no face class item, though both modules share the core.
    velmkit::TVelmContainer* speechItem = speechForm->CreateObject("TSpchContainer");
    ASSERT_NE(speechItem, nullptr);
    EXPECT_EQ(faceForm->CreateObject("TSpchContainer"), nullptr);
    const velmkit::TItemClass* faceItemClass = faceForm->RegisteredClasses().at(0);
    EXPECT_FALSE(faceItemClass->IsInstance(speechItem));
    EXPECT_TRUE(speechForm->RegisteredClasses().at(0)->IsInstance(speechItem));
    }
    velmkit::SetInitProgram(0);
}

}  // namespace
}  // namespace velmtest
