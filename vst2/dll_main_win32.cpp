// The Windows loader's notification: the module handle is what the toolkit
// loads its bitmaps from and names its window class after.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "plugin_base.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
    // Stored for every reason: the handle never changes while we are loaded.
    moduleInstance = instance;
    return TRUE;
}
