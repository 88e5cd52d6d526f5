#include "win32_window_class.h"

#include <cstdint>
#include <cstdio>

#include "win32_platform.h"

namespace {
// Process-wide, touched only on the user-interface thread.
char className[32] = "";
int users = 0;
bool swapped = false;

HINSTANCE module() { return win32ModuleHandle(); }
}  // namespace

const char* windowClassName() {
    std::snprintf(className, sizeof className, "Plugin%08x",
                  static_cast<unsigned>(reinterpret_cast<uintptr_t>(module())));
    return className;
}

const char* acquireWindowClass(WNDPROC procedure) {
    if (users > 0) {
        ++users;
        return className;
    }
    WNDCLASSA settings{};
    settings.style = CS_GLOBALCLASS;  // no CS_DBLCLKS: a quick second click is a second press
    settings.lpfnWndProc = procedure;
    settings.hInstance = module();
    settings.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    settings.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    settings.lpszClassName = windowClassName();
    swapped = GetSystemMetrics(SM_SWAPBUTTON) > 0;
    if (!RegisterClassA(&settings)) return nullptr;
    users = 1;
    return className;
}

void releaseWindowClass() {
    if (users == 0 || --users > 0) return;
    UnregisterClassA(className, module());
}

bool mouseButtonsSwapped() { return swapped; }
