// Helpers for the Windows tests: a 32-bit pixel buffer to draw into, a host
// window, message pumping, and the plug-in's window class.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A top-down 32-bit DIB section selected into its own memory DC.
class PixelSurface {
public:
    PixelSurface(int width, int height) : w(width), h(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits),
                                  nullptr, 0);
        previous = SelectObject(dc, bitmap);
    }
    ~PixelSurface() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    PixelSurface(const PixelSurface&) = delete;
    PixelSurface& operator=(const PixelSurface&) = delete;

    HDC deviceContext() const { return dc; }
    // 0x00RRGGBB
    uint32_t at(int x, int y) const {
        GdiFlush();
        return bits[y * w + x] & 0xFFFFFFu;
    }
    void set(int x, int y, uint32_t rgb) {
        GdiFlush();
        bits[y * w + x] = rgb;
    }
    std::vector<uint32_t> pixels() const {
        GdiFlush();
        std::vector<uint32_t> all(bits, bits + w * h);
        for (auto& p : all) p &= 0xFFFFFFu;
        return all;
    }
    int width() const { return w; }
    int height() const { return h; }

private:
    int w;
    int h;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* bits = nullptr;
};

inline void pumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// A host's top-level window to put editor windows into.
class HostWindow {
public:
    HostWindow() {
        WNDCLASSA settings{};
        settings.lpfnWndProc = DefWindowProcA;
        settings.hInstance = GetModuleHandleA(nullptr);
        settings.lpszClassName = "VelmoraTestHost";
        RegisterClassA(&settings);  // a second registration fails harmlessly
        // A pop-up shown without activation: Wine hands framed or activated
        // windows to the window manager and, when there is none, waits two
        // seconds for it at every destruction.
        handle = CreateWindowExA(0, "VelmoraTestHost", "host", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        if (handle) ShowWindow(handle, SW_SHOWNOACTIVATE);
    }
    ~HostWindow() {
        if (handle) DestroyWindow(handle);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    HWND handle = nullptr;
};

// The window class a plug-in module registers: "Plugin" and its handle, in
// 8 hex digits in 32-bit builds and 16 in 64-bit ones.
inline std::string windowClassNameOf(HMODULE module) {
    char name[32];
#if defined(_WIN64)
    std::snprintf(name, sizeof name, "Plugin%016llx",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(module)));
#else
    std::snprintf(name, sizeof name, "Plugin%08x", static_cast<unsigned>(reinterpret_cast<uintptr_t>(module)));
#endif
    return name;
}

inline bool windowClassRegistered(HMODULE module) {
    WNDCLASSA info{};
    return GetClassInfoA(module, windowClassNameOf(module).c_str(), &info) != 0;
}
