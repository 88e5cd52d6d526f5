#include "gui_segment_selector.h"

#include <algorithm>
#include <cmath>

#include "gui_draw_context.h"

GuiSegmentSelector::GuiSegmentSelector(const GuiRect& rect, GuiControlListener* owner, int32_t controlTag,
                                       int32_t segmentCount, GuiBitmap* bitmap)
    : GuiControl(rect, owner, controlTag, bitmap), segments(std::max(segmentCount, 2)) {}

int32_t GuiSegmentSelector::choice() const {
    const float v = value;
    // NaN and values outside 0..1 choose the nearest end.
    if (!(v > 0.0f)) return 0;
    if (v >= 1.0f) return segments - 1;
    return static_cast<int32_t>(std::lround(v * static_cast<float>(segments - 1)));
}

void GuiSegmentSelector::draw(GuiDrawContext* context) {
    drawBackground(context, size, GuiPoint{0, choice() * size.height()});
    setDirty(false);
}

void GuiSegmentSelector::mouse(GuiDrawContext* context, GuiPoint& where) {
    if (!getMouseEnabled() || !context || size.width() <= 0) return;
    if (!(context->getMouseButtons() & kGuiLButton)) return;
    // The right border belongs to the last segment (hit tests include it).
    const int32_t chosen = std::clamp((where.h - size.left) * segments / size.width(), 0, segments - 1);
    value = static_cast<float>(chosen) / static_cast<float>(segments - 1);
    if (listener) listener->valueChanged(context, this);
}
