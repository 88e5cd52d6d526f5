// The Linux platform: windows on X11 with cairo drawing, bitmaps decoded from
// the .bmp bytes (and the larger steps' PNG bytes) linked into the plug-in, a
// monotonic millisecond clock.
#pragma once

#include "gui/gui_platform.h"

class X11Platform : public GuiPlatform {
public:
    std::unique_ptr<GuiWindow> createWindow(void* parent, int32_t width, int32_t height, GuiScale scale,
                                            GuiWindowClient& client) override;
    std::unique_ptr<GuiBitmapImage> loadBitmap(int32_t resourceId, int32_t scalePercent) override;
    // The X resource Xft.dpi over 96, as desktops set it for their scaling.
    double desktopScale(void* parentWindow) override;
    uint32_t tickCount() override;
    void sleep(uint32_t milliseconds) override;
};
