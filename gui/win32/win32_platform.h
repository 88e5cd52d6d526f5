// The Windows platform: child windows with a window procedure, GDI drawing,
// bitmaps from the module's resources, GetTickCount and Sleep, and OLE
// started for every editor and frame on their thread (editors may be made
// on any thread the host loads us from, so nothing process-wide is touched
// there).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "gui/gui_platform.h"

class Win32Platform : public GuiPlatform {
public:
    std::unique_ptr<GuiWindow> createWindow(void* parent, int32_t width, int32_t height, GuiScale scale,
                                            GuiWindowClient& client) override;
    // 100 %: the BITMAP resource; larger steps: the PNG resource decoded by
    // the system's imaging component (see png_resource.h).
    std::unique_ptr<GuiBitmapImage> loadBitmap(int32_t resourceId, int32_t scalePercent) override;
    // The window's DPI over 96 (GetDpiForWindow where the system has it),
    // else the screen's.
    double desktopScale(void* parentWindow) override;
    uint32_t tickCount() override;
    void sleep(uint32_t milliseconds) override;
    void beginThreadUse() override;
    void endThreadUse() override;
    GuiPointer* screenPointer() override;
    void setModuleHandle(void* handle) override;
};

// The handle last given to setModuleHandle; null before.
HINSTANCE win32ModuleHandle();
