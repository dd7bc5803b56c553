#include "module_entry.h"

#include <gtest/gtest.h>

#include <velmkit/registry.h>

namespace velmcore {
namespace {

struct Notification {
    int initProgram;
    int reason;
    std::vector<std::string> events;  // "+Class" registered, "-Class" unregistered
};

class ModuleProcTest : public testing::TestWithParam<Notification> {
protected:
    void TearDown() override {
        velmkit::SetRegistryObserver(nullptr);
        velmkit::SetInitProgram(0);
    }
};

TEST_P(ModuleProcTest, ActsOnProcessAttachAndDetachWhileTheHostRuns) {
    std::vector<std::string> events;
    velmkit::SetRegistryObserver([&](velmkit::RegistryEvent event, const velmkit::TFormClass* formClass) {
        events.push_back((event == velmkit::RegistryEvent::Register ? "+" : "-") + formClass->ClassName());
    });
    velmkit::SetInitProgram(GetParam().initProgram);
    ModuleProc(GetParam().reason);
    EXPECT_EQ(events, GetParam().events);
    ModuleProc(kProcessDetach);  // leaves the registry as it was
}

INSTANTIATE_TEST_SUITE_P(Reasons, ModuleProcTest,
                         testing::Values(Notification{1, kProcessAttach, {"+TTstClsForm"}},
                                         Notification{1, kProcessDetach, {"-TTstClsForm"}},
                                         Notification{1, kThreadAttach, {}}, Notification{1, kThreadDetach, {}},
                                         Notification{1, 7, {}}, Notification{0, kProcessAttach, {}},
                                         Notification{0, kProcessDetach, {}}));

}  // namespace
}  // namespace velmcore
