#include "gui_anim_knob.h"

GuiAnimKnob::GuiAnimKnob(const GuiRect& rect, GuiControlListener* owner, int32_t controlTag,
                         int32_t imageCount, int32_t imageHeight, GuiBitmap* bitmap,
                         const GuiPoint& imageOffset)
    : GuiKnob(rect, owner, controlTag, bitmap, nullptr, imageOffset),
      subPixmaps(imageCount),
      heightOfOneImage(imageHeight) {
    inset = 0;
}

int32_t GuiAnimKnob::imageOffset() const {
    if (!(value >= 0.0f) || heightOfOneImage <= 0 || subPixmaps <= 1) return 0;
    const int32_t span = heightOfOneImage * (subPixmaps - 1);
    const float fraction = inverseBitmap ? 1.0f - value : value.load();
    // The product is computed in single precision and truncated; anything
    // past the strip's last image reads the last image.
    const float scaled = static_cast<float>(span) * fraction;
    int32_t pos;
    if (!(scaled > 0.0f)) {
        pos = 0;
    } else if (scaled >= static_cast<float>(span)) {
        pos = span;
    } else {
        pos = static_cast<int32_t>(scaled);
    }
    // Snap down to the start of the image that pos falls in.
    return pos - pos % heightOfOneImage;
}

void GuiAnimKnob::draw(GuiDrawContext* context) {
    drawBackground(context, size, GuiPoint{0, imageOffset()});
    setDirty(false);
}
