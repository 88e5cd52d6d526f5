// GuiAnimKnob: a knob drawn from a vertical strip of equally tall images, one
// per position; the value picks the image. Input handling is the knob's.
#pragma once

#include <cstdint>

#include "gui_knob.h"

class GuiAnimKnob : public GuiKnob {
public:
    GuiAnimKnob(const GuiRect& size, GuiControlListener* listener, int32_t tag,
                int32_t imageCount, int32_t imageHeight, GuiBitmap* background,
                const GuiPoint& offset);

    void draw(GuiDrawContext* context) override;

    // The source offset in the strip for the current value: image
    // floor(value x (count - 1)); image 0 below 0 and the last image above 1.
    int32_t imageOffset() const;

    void setInverseBitmap(bool inverse) { inverseBitmap = inverse; }
    bool getInverseBitmap() const { return inverseBitmap; }
    int32_t getImageCount() const { return subPixmaps; }
    int32_t getImageHeight() const { return heightOfOneImage; }

protected:
    int32_t subPixmaps;
    int32_t heightOfOneImage;
    bool inverseBitmap = false;
};
