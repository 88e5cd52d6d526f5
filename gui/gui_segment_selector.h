// GuiSegmentSelector: a row of equal segments of which one is chosen, drawn
// from a bitmap that stacks one image of the whole row per choice. A press of
// the left button on a segment chooses it; the value is the choice spread
// over 0..1 (choice / (segments - 1)).
#pragma once

#include <cstdint>

#include "gui_control.h"

class GuiSegmentSelector : public GuiControl {
public:
    GuiSegmentSelector(const GuiRect& size, GuiControlListener* listener, int32_t tag, int32_t segments,
                       GuiBitmap* background);

    void draw(GuiDrawContext* context) override;
    void mouse(GuiDrawContext* context, GuiPoint& where) override;

    // The chosen segment for the current value, 0..segments - 1.
    int32_t choice() const;
    int32_t segmentCount() const { return segments; }

private:
    int32_t segments;
};
