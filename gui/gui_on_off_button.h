// GuiOnOffButton: a two-state switch drawn from a bitmap that holds the off
// image above the on image. Toggles on the press of the left button.
#pragma once

#include "gui_control.h"

class GuiOnOffButton : public GuiControl {
public:
    GuiOnOffButton(const GuiRect& size, GuiControlListener* listener, int32_t tag,
                   GuiBitmap* background);

    // Any non-zero value shows the on image.
    void draw(GuiDrawContext* context) override;
    void mouse(GuiDrawContext* context, GuiPoint& where) override;
};
