// The Windows loader's entry point hands every notification to ModuleProc.
#include <windows.h>

#include "module_entry.h"

BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD reason, LPVOID /*reserved*/) {
    velmcore::ModuleProc(static_cast<int>(reason));
    return TRUE;
}
