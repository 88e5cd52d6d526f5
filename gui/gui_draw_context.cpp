#include "gui_draw_context.h"

#include "gui_frame.h"

namespace {
constexpr GuiFontEntry kFontTable[kGuiFontCount] = {
    {"Arial", 12},  // always bold
    {"Arial", 18}, {"Arial", 14}, {"Arial", 12}, {"Arial", 11},
    {"Arial", 10}, {"Arial", 9},  {"Symbol", 13},
};
constexpr int32_t kSymbolFont = 7;
}  // namespace

const GuiFontEntry& guiFontEntry(int32_t index) {
    return kFontTable[(index < 0 || index >= kGuiFontCount) ? 0 : index];
}

GuiDrawContext::GuiDrawContext(GuiFrame* owner, GuiCanvas* target, GuiPointer* input)
    : canvas(target), pointer(input), frame(owner) {
    if (frame) {
        frame->getViewSize(clipRect);
    } else {
        clipRect = GuiRect{0, 0, 1000, 1000};
    }
    if (canvas) {
        setFrameColor(kGuiWhite);
        setLineStyle(kGuiLineSolid);
        setFillColor(kGuiBlack);
        setFontColor(kGuiWhite);
    }
}

void GuiDrawContext::applyPen() {
    if (canvas) canvas->setPen(frameColor, frameWidth, lineStyle);
}

void GuiDrawContext::moveTo(const GuiPoint& p) {
    if (canvas) canvas->moveTo(at(p));
}

void GuiDrawContext::lineTo(const GuiPoint& p) {
    if (canvas) canvas->lineTo(at(p));
}

void GuiDrawContext::drawRect(const GuiRect& r) {
    moveTo(GuiPoint{r.left, r.top});
    lineTo(GuiPoint{r.right, r.top});
    lineTo(GuiPoint{r.right, r.bottom});
    lineTo(GuiPoint{r.left, r.bottom});
    lineTo(GuiPoint{r.left, r.top});
}

void GuiDrawContext::fillRect(const GuiRect& r) {
    if (!canvas) return;
    GuiRect inner{r.left + 1, r.top + 1, r.right, r.bottom};
    inner.offset(offset.h, offset.v);
    canvas->fillRect(inner);
}

int32_t GuiDrawContext::offsetPoints(const GuiPoint* points, int32_t count, GuiPoint* moved) const {
    if (count > kGuiMaxPathPoints) count = kGuiMaxPathPoints;
    for (int32_t i = 0; i < count; ++i) moved[i] = at(points[i]);
    return count < 0 ? 0 : count;
}

void GuiDrawContext::polyline(const GuiPoint* points, int32_t count) {
    if (!canvas || !points) return;
    GuiPoint moved[kGuiMaxPathPoints];
    canvas->polyline(moved, offsetPoints(points, count, moved));
}

void GuiDrawContext::fillPolygon(const GuiPoint* points, int32_t count) {
    if (!canvas || !points) return;
    GuiPoint moved[kGuiMaxPathPoints];
    canvas->fillPolygon(moved, offsetPoints(points, count, moved));
}

void GuiDrawContext::setFrameColor(const GuiColor& colour) {
    frameColor = colour;
    applyPen();
}

void GuiDrawContext::setLineStyle(int32_t style) {
    lineStyle = style;
    applyPen();
}

void GuiDrawContext::setLineWidth(int32_t width) {
    frameWidth = width;
    applyPen();
}

void GuiDrawContext::setFillColor(const GuiColor& colour) {
    fillColor = colour;
    if (canvas) canvas->setBrush(colour);
}

void GuiDrawContext::setFontColor(const GuiColor& colour) {
    fontColor = colour;
    if (canvas) canvas->setTextColor(colour);
}

void GuiDrawContext::setFont(int32_t index, int32_t size, int32_t face) {
    if (index < 0 || index >= kGuiFontCount) index = 0;
    const GuiFontEntry& entry = guiFontEntry(index);
    fontIndex = index;
    fontSize = size == 0 ? entry.height : size;
    if (!canvas) return;
    GuiFontChoice fontChoice;
    fontChoice.face = entry.face;
    fontChoice.height = fontSize;
    fontChoice.bold = (face & kGuiBoldFace) != 0 || index == 0;
    fontChoice.italic = (face & kGuiItalicFace) != 0;
    fontChoice.underline = (face & kGuiUnderlineFace) != 0;
    fontChoice.symbol = index == kSymbolFont;
    canvas->setFont(fontChoice);
}

void GuiDrawContext::drawString(const char* text, const GuiRect& r, bool opaque, int32_t align) {
    if (!text || !canvas) return;
    GuiRect target = r;
    target.offset(offset.h, offset.v);
    if (align != kGuiCenterText && align != kGuiRightText) {
        align = kGuiLeftText;
        target.left += 1;
    }
    canvas->drawText(text, target, align, opaque);
}

int32_t GuiDrawContext::getMouseButtons() { return pointer ? pointer->buttons() : 0; }

void GuiDrawContext::getMouseLocation(GuiPoint& where) {
    where = pointer ? pointer->location() : GuiPoint{};
}
