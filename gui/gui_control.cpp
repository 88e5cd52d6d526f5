#include "gui_control.h"

#include "gui_bitmap.h"
#include "gui_frame.h"

GuiControl::GuiControl(const GuiRect& rect, GuiControlListener* owner, int32_t controlTag,
                       GuiBitmap* bitmap)
    : GuiView(rect), listener(owner), tag(controlTag), background(bitmap) {
    if (background) background->addRef();
    setTransparency(false);
    setMouseEnabled(true);
}

GuiControl::~GuiControl() {
    if (background) background->release();
}

bool GuiControl::isDirty() { return value != oldValue || dirty; }

void GuiControl::setDirty(bool state) {
    dirty = state;
    if (!state) {
        oldValue = value;
    } else {
        oldValue = value == -1.0f ? 0.0f : -1.0f;
    }
}

void GuiControl::idleDuringDrag() {
    if (frame) frame->requestDragIdle();
}

void GuiControl::setValue(float newValue) { value = newValue; }
float GuiControl::getValue() { return value; }
void GuiControl::setMin(float minimum) { vmin = minimum; }
float GuiControl::getMin() { return vmin; }
void GuiControl::setMax(float maximum) { vmax = maximum; }
float GuiControl::getMax() { return vmax; }
void GuiControl::setOldValue(float old) { oldValue = old; }
float GuiControl::getOldValue() { return oldValue; }
void GuiControl::setDefaultValue(float newDefault) { defaultValue = newDefault; }
float GuiControl::getDefaultValue() { return defaultValue; }
void GuiControl::setTag(int32_t newTag) { tag = newTag; }

void GuiControl::setBackground(GuiBitmap* bitmap) {
    if (bitmap) bitmap->addRef();  // first, in case it is the bitmap already held
    if (background) background->release();
    background = bitmap;
}

GuiBitmap* GuiControl::getBackground() { return background; }
void GuiControl::setBackgroundOffset(const GuiPoint& offset) { backOffset = offset; }
void GuiControl::copyBackgroundOffset() { backOffset = GuiPoint{size.left, size.top}; }
void GuiControl::setWheelIncrement(float increment) { wheelInc = increment; }
float GuiControl::getWheelIncrement() { return wheelInc; }

void GuiControl::clampValue() {
    if (value > vmax) {
        value = vmax;
    } else if (!(value >= vmin)) {  // also catches NaN
        value = vmin;
    }
}

void GuiControl::drawBackground(GuiDrawContext* context, const GuiRect& dest,
                                const GuiPoint& source) {
    if (!background) return;
    if (getTransparency()) {
        background->drawTransparent(context, dest, source);
    } else {
        background->draw(context, dest, source);
    }
}
