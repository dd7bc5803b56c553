#include "module_entry.h"

#include <velmkit/registry.h>

#include "classifier_form.h"

namespace velmcore {

void ModuleProc(int reason) {
    if (!velmkit::InitProgram()) {
        return;
    }
    if (reason == kProcessAttach) {
        velmkit::RegisterModuleClass(moduleFormClass());
    } else if (reason == kProcessDetach) {
        velmkit::UnRegisterModuleClass(moduleFormClass());
    }
}

}  // namespace velmcore
