// The Windows loader's notification hands over the DLL's own handle, which
// the editor needs to find its bitmaps.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "vst3/vst3_module_handle.h"

namespace {
HINSTANCE moduleInstance = nullptr;
}  // namespace

void* vst3ModuleHandle() { return moduleInstance; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    // Stored for every reason: the handle never changes while we are loaded.
    moduleInstance = instance;
    return TRUE;
}
