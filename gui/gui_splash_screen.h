// GuiSplashScreen: the about box. A click in its area shows a large bitmap as
// the frame's modal view; a left click on the image closes it again and the
// whole panel is repainted.
#pragma once

#include <cstdint>

#include "gui_control.h"

class GuiSplashScreen : public GuiControl {
public:
    // size is the click area; the image is shown in toDisplay from offset.
    GuiSplashScreen(const GuiRect& size, GuiControlListener* listener, int32_t tag,
                    GuiBitmap* background, const GuiRect& toDisplay, const GuiPoint& offset);

    void draw(GuiDrawContext* context) override;
    void mouse(GuiDrawContext* context, GuiPoint& where) override;
    // Inside the current area (borders included) and with the left button.
    bool hitTest(const GuiPoint& where, int32_t buttons = -1) override;

    virtual void closeSplash();                                                 // 51

    bool isOpen() const { return value != 0.0f; }

protected:
    void restoreFrame(GuiDrawContext* context);

    GuiRect toDisplay;
    GuiRect keepSize;
    GuiPoint offset;
};
