// The loader runs these when the library is loaded and unloaded, as the
// Windows loader calls DllMain on process attach and detach.
#include "module_entry.h"

namespace {

__attribute__((constructor)) void onLibraryLoad() {
    velmcore::ModuleProc(velmcore::kProcessAttach);
}

__attribute__((destructor)) void onLibraryUnload() {
    velmcore::ModuleProc(velmcore::kProcessDetach);
}

}  // namespace
