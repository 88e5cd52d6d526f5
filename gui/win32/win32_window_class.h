// The editor windows' class, one per loaded module ("Plugin" and the module
// handle in hex, so two plug-in modules never share a class: 8 digits in
// 32-bit builds, all 16 in 64-bit ones): registered by the first window,
// unregistered when the last one goes.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// Registers the class on first use; null if registration failed (then
// nothing is counted).
const char* acquireWindowClass(WNDPROC procedure);
void releaseWindowClass();
// The class name this module uses, registered or not.
const char* windowClassName();
// The class name of a module with this handle, into name (at least
// kWindowClassNameBytes).
inline constexpr int kWindowClassNameBytes = 32;
void formatWindowClassName(const void* module, char* name);
// Whether the system swaps the mouse buttons, as read at registration.
bool mouseButtonsSwapped();
