#include "win32_platform.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <ole2.h>

#include "gdi_bitmap_image.h"
#include "png_resource.h"
#include "win32_pointer.h"
#include "win32_window.h"

namespace {
// OleInitialize calls that succeeded on this thread and still wait for their
// OleUninitialize. A thread already in another COM mode refuses; its refusal
// must not be balanced, and an editor destroyed on another thread than it
// was made on must not end that thread's COM.
thread_local int oleStarts = 0;
// Set before the first window is made; it never changes while we are loaded.
HINSTANCE moduleHandle = nullptr;
}  // namespace

HINSTANCE win32ModuleHandle() { return moduleHandle; }

void Win32Platform::setModuleHandle(void* handle) { moduleHandle = static_cast<HINSTANCE>(handle); }

std::unique_ptr<GuiWindow> Win32Platform::createWindow(void* parent, int32_t width, int32_t height, GuiScale scale,
                                                       GuiWindowClient& client) {
    return Win32Window::create(static_cast<HWND>(parent), width, height, scale, client);
}

std::unique_ptr<GuiBitmapImage> Win32Platform::loadBitmap(int32_t resourceId, int32_t scalePercent) {
    if (scalePercent != 100) return loadScaledArtwork(moduleHandle, resourceId, scalePercent);
    return GdiBitmapImage::load(moduleHandle, resourceId);
}

double Win32Platform::desktopScale(void* parentWindow) {
    // Windows 10 1607 and later; loaded by name so older systems still load us.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    HWND window = static_cast<HWND>(parentWindow);
    if (window && dpiForWindow) {
        if (const UINT dpi = dpiForWindow(window)) return dpi / 96.0;
    }
    HDC screen = GetDC(window);
    if (!screen) return 0.0;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(window, screen);
    return dpi > 0 ? dpi / 96.0 : 0.0;
}

uint32_t Win32Platform::tickCount() { return GetTickCount(); }

void Win32Platform::sleep(uint32_t milliseconds) { Sleep(milliseconds); }

void Win32Platform::beginThreadUse() {
    if (SUCCEEDED(OleInitialize(nullptr))) ++oleStarts;
}

void Win32Platform::endThreadUse() {
    if (oleStarts > 0) {
        --oleStarts;
        OleUninitialize();
    }
}

GuiPointer* Win32Platform::screenPointer() {
    static Win32Pointer screen(nullptr);
    return &screen;
}

GuiPlatform& defaultGuiPlatform() {
    static Win32Platform platform;
    return platform;
}
