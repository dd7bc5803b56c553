#include "test_module_settings.h"

#include "settings_builders.h"

namespace velmcore {

ModuleSettings& testSettings() {
    static ModuleSettings settings = [] {
        ModuleSettings s;
        s.formClass = "TTstClsForm";
        s.actionClass = "TTstAction";
        s.containerClass = "TTstContainer";
        s.dialogFilter = kImageFilter;
        s.dialogDefaultExt = "jpg";
        s.buildIndex = 1;
        s.menu = classFolderMenu();
        return s;
    }();
    return settings;
}

const ModuleSettings& moduleSettings() {
    return testSettings();
}

}  // namespace velmcore
