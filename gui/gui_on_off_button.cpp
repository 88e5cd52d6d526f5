#include "gui_on_off_button.h"

#include <cmath>

#include "gui_bitmap.h"
#include "gui_draw_context.h"

GuiOnOffButton::GuiOnOffButton(const GuiRect& rect, GuiControlListener* owner, int32_t controlTag,
                               GuiBitmap* bitmap)
    : GuiControl(rect, owner, controlTag, bitmap) {}

void GuiOnOffButton::draw(GuiDrawContext* context) {
    const int32_t off = (value != 0.0f && background) ? background->getHeight() / 2 : 0;
    drawBackground(context, size, GuiPoint{0, off});
    setDirty(false);
}

void GuiOnOffButton::mouse(GuiDrawContext* context, GuiPoint&) {
    if (!getMouseEnabled() || !context) return;
    if (!(context->getMouseButtons() & kGuiLButton)) return;
    // A value like 0.7 set from outside counts as off here, so it becomes 1.
    value = std::trunc(value) != 0.0f ? 0.0f : 1.0f;
    idleDuringDrag();
    if (listener) listener->valueChanged(context, this);
}
