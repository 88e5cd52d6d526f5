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
    std::unique_ptr<GuiWindow> createWindow(void* parent, int32_t width, int32_t height,
                                            GuiWindowClient& client) override;
    std::unique_ptr<GuiBitmapImage> loadBitmap(int32_t resourceId) override;
    uint32_t tickCount() override;
    void sleep(uint32_t milliseconds) override;
    void beginThreadUse() override;
    void endThreadUse() override;
    GuiPointer* screenPointer() override;
    void setModuleHandle(void* handle) override;
};

// The handle last given to setModuleHandle; null before.
HINSTANCE win32ModuleHandle();
