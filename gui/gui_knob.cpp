#include "gui_knob.h"

#include <cmath>

#include "gui_bitmap.h"
#include "gui_draw_context.h"
#include "gui_frame.h"

namespace {
constexpr float kTwoPi = 6.2831855f;
constexpr float kStartAngle = 3.9269907f;    // lower left, half past seven
constexpr float kRangeAngle = -4.712389f;    // 270 degrees clockwise
constexpr float kLinearRange = 200.0f;       // pixels from minimum to maximum

float wrapAngle(float y) {
    if (y < 0.0f) return y + kTwoPi;
    if (y > kTwoPi) return y - kTwoPi;
    return y;
}
}  // namespace

GuiKnob::GuiKnob(const GuiRect& rect, GuiControlListener* owner, int32_t controlTag,
                 GuiBitmap* bitmap, GuiBitmap* handle, const GuiPoint& imageOffset)
    : GuiControl(rect, owner, controlTag, bitmap),
      offset(imageOffset),
      handleBitmap(handle),
      radius(static_cast<float>(rect.right - rect.left) / 2.0f) {
    if (handleBitmap) {
        handleBitmap->addRef();
        inset = static_cast<int32_t>(static_cast<float>(handleBitmap->getWidth()) / 2.0f + 2.5f);
    }
    startAngle = kStartAngle;
    rangeAngle = 1.0f;
    compute();
    setRangeAngle(kRangeAngle);
}

GuiKnob::~GuiKnob() {
    if (handleBitmap) handleBitmap->release();
}

void GuiKnob::compute() {
    halfAngle = (kTwoPi - std::fabs(rangeAngle)) / 2.0f;
    aCoef = (vmax - vmin) / rangeAngle;
    bCoef = vmin - aCoef * startAngle;
}

void GuiKnob::draw(GuiDrawContext* context) {
    drawBackground(context, size, offset);
    drawHandle(context);
    setDirty(false);
}

void GuiKnob::drawHandle(GuiDrawContext* context) {
    if (!context) return;
    GuiPoint where;
    valueToPoint(where);
    if (handleBitmap) {
        const int32_t w = handleBitmap->getWidth();
        const int32_t h = handleBitmap->getHeight();
        GuiRect dest{0, 0, w, h};
        dest.moveTo(size.left + where.h - w / 2, size.top + where.v - h / 2);
        handleBitmap->drawTransparent(context, dest);
        return;
    }
    GuiPoint tip{size.left - 1 + where.h, size.top + where.v};
    GuiPoint centre{size.left + size.width() / 2 - 1, size.top + size.height() / 2};
    context->setFrameColor(colorHandle);
    context->moveTo(tip);
    context->lineTo(centre);
    context->setFrameColor(colorShadowHandle);
    context->moveTo(tip.offset(1, -1));
    context->lineTo(centre.offset(1, -1));
}

void GuiKnob::setStartAngle(float angle) {
    startAngle = angle;
    compute();
    setDirty(true);
}

float GuiKnob::getStartAngle() { return startAngle; }

void GuiKnob::setRangeAngle(float angle) {
    rangeAngle = angle;
    compute();
    setDirty(true);
}

float GuiKnob::getRangeAngle() { return rangeAngle; }

void GuiKnob::valueToPoint(GuiPoint& point) {
    const float angle = (value - bCoef) / aCoef;
    const float reach = radius - static_cast<float>(inset);
    point.h = static_cast<int32_t>(radius + 0.5f + std::cos(angle) * reach);
    point.v = static_cast<int32_t>(radius + 0.5f - std::sin(angle) * reach);
}

float GuiKnob::valueFromPoint(GuiPoint& point) {
    // 0 points right and angles grow counter-clockwise, as on paper.
    float alpha = std::atan2(radius - static_cast<float>(point.v),
                             static_cast<float>(point.h) - radius);
    if (alpha < 0.0f) alpha += kTwoPi;
    float x = alpha - startAngle;
    if (rangeAngle < 0.0f) {
        float y = x - rangeAngle;
        const float n = wrapAngle(y);
        if (n > halfAngle - rangeAngle) return vmax;
        if (n > -rangeAngle) return vmin;
        if (y > halfAngle - rangeAngle) {
            y -= kTwoPi;
        } else if (y < -halfAngle) {
            y += kTwoPi;
        }
        return vmax + aCoef * y;
    }
    const float n = wrapAngle(x);
    if (n > rangeAngle + halfAngle) return vmin;
    if (n > rangeAngle) return vmax;
    if (x > rangeAngle + halfAngle) {
        x -= kTwoPi;
    } else if (x < -halfAngle) {
        x += kTwoPi;
    }
    return vmin + aCoef * x;
}

void GuiKnob::setInsetValue(int32_t value) { inset = value; }

void GuiKnob::setHandleColor(const GuiColor& colour) {
    colorHandle = colour;
    setDirty(true);
}

void GuiKnob::setHandleHighlightColor(const GuiColor& colour) {
    colorShadowHandle = colour;
    setDirty(true);
}

void GuiKnob::setHandleBitmap(GuiBitmap* bitmap) {
    if (bitmap) bitmap->addRef();
    if (handleBitmap) handleBitmap->release();
    handleBitmap = bitmap;
    if (handleBitmap) {
        inset = static_cast<int32_t>(static_cast<float>(handleBitmap->getWidth()) / 2.0f + 2.5f);
    }
}

void GuiKnob::setZoomFactor(float factor) { zoomFactor = factor; }
float GuiKnob::getZoomFactor() { return zoomFactor; }

void GuiKnob::reportChange(GuiDrawContext* context) {
    if (isDirty() && listener) listener->valueChanged(context, this);
}

void GuiKnob::mouse(GuiDrawContext* context, GuiPoint& where) {
    if (!getMouseEnabled() || !context) return;
    const int32_t buttons = context->getMouseButtons();
    if (!(buttons & kGuiLButton)) return;

    // Ctrl+click resets, and is not an edit gesture.
    if (buttons == (kGuiLButton | kGuiControl)) {
        value = defaultValue;
        reportChange(context);
        return;
    }

    const int32_t mode = frame ? frame->getKnobMode() : kGuiLinearMode;
    bool linear = mode == kGuiLinearMode;
    if (buttons & kGuiAlt) linear = !linear;

    if (frame) {
        frame->beginEdit(tag);
        frame->setFocusView(this);
    }
    if (linear) {
        dragLinear(context, where, buttons);
    } else {
        dragCircular(context, where);
    }
    if (frame) frame->endEdit(tag);
}

void GuiKnob::dragLinear(GuiDrawContext* context, const GuiPoint& first, int32_t buttons) {
    float range = kLinearRange;
    if (buttons & kGuiShift) range *= zoomFactor;
    float step = (vmax - vmin) / range;
    float startValue = value;
    int32_t oldButtons = buttons;

    GuiPoint pointer = first;
    GuiPoint last{-1, -1};
    do {
        buttons = context->getMouseButtons();
        if (pointer != last) {
            last = pointer;
            const float delta = static_cast<float>((pointer.h - first.h) + (first.v - pointer.v));
            if (buttons != oldButtons) {
                // A new speed takes over from here: the value must not jump.
                range = kLinearRange;
                if (buttons & kGuiShift) range *= zoomFactor;
                const float newStep = (vmax - vmin) / range;
                startValue += (step - newStep) * delta;
                step = newStep;
                oldButtons = buttons;
            }
            value = startValue + delta * step;
            clampValue();
            reportChange(context);
        }
        context->getMouseLocation(pointer);
        idleDuringDrag();
    } while (buttons & kGuiLButton);
}

void GuiKnob::dragCircular(GuiDrawContext* context, const GuiPoint& first) {
    const GuiPoint origin{size.left, size.top};
    GuiPoint relative{first.h - origin.h, first.v - origin.v};
    float reference = valueFromPoint(relative);
    const float halfSpan = (vmax - vmin) / 2.0f;

    GuiPoint pointer = first;
    GuiPoint last{-1, -1};
    int32_t buttons;
    do {
        buttons = context->getMouseButtons();
        if (pointer != last) {
            last = pointer;
            relative = GuiPoint{pointer.h - origin.h, pointer.v - origin.v};
            const float v = valueFromPoint(relative);
            // A jump across the dead zone pins the end it came from.
            if (reference - v > halfSpan) {
                value = vmax;
            } else if (v - reference > halfSpan) {
                value = vmin;
            } else {
                value = v;
                reference = v;
            }
            reportChange(context);
        }
        context->getMouseLocation(pointer);
        idleDuringDrag();
    } while (buttons & kGuiLButton);
}

bool GuiKnob::onWheel(GuiDrawContext* context, const GuiPoint&, float distance) {
    if (!getMouseEnabled()) return false;
    const bool fine = context && (context->getMouseButtons() & kGuiShift);
    value += wheelInc * (fine ? 0.1f : 1.0f) * distance;
    clampValue();
    reportChange(context);
    return true;
}

int32_t GuiKnob::onKeyDown(GuiKeyCode& key) {
    float step;
    switch (key.virt) {
        case kGuiKeyLeft:
        case kGuiKeyDown: step = -1.0f; break;
        case kGuiKeyUp:
        case kGuiKeyRight: step = 1.0f; break;
        default: return -1;
    }
    if (key.modifier & kGuiModifierShift) step *= 0.1f;
    value += step * wheelInc;
    clampValue();
    reportChange(nullptr);
    return 1;
}
