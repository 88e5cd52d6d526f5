#include "win32_window_class.h"

#include <cstdint>
#include <cstdio>

#include "win32_platform.h"

namespace {
// Process-wide, touched only on the user-interface thread.
char className[kWindowClassNameBytes] = "";
int users = 0;
bool swapped = false;

HINSTANCE module() { return win32ModuleHandle(); }
}  // namespace

void formatWindowClassName(const void* module, char* name) {
    const auto handle = reinterpret_cast<uintptr_t>(module);
#if defined(_WIN64)
    // The whole handle: 64-bit modules load above 4 GB, where the low half
    // alone could name another module's class.
    std::snprintf(name, kWindowClassNameBytes, "Plugin%016llx",
                  static_cast<unsigned long long>(handle));
#else
    std::snprintf(name, kWindowClassNameBytes, "Plugin%08x", static_cast<unsigned>(handle));
#endif
}

const char* windowClassName() {
    formatWindowClassName(module(), className);
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
