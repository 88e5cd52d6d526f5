// The editor's scale steps and the one rounding between logical pixels (the
// 484 x 286 layout every view and hit test uses) and device pixels. Views
// never see device pixels: the platform seam converts once, on the way to
// the screen and on the way back from the pointer.
#pragma once

#include <cmath>
#include <cstdint>

#include "gui_types.h"

inline constexpr int32_t kGuiScaleSteps[] = {100, 125, 150, 175, 200, 250, 300};

// The step nearest a factor (2.0 = twice as large), never below 100 %;
// anything not a positive finite number counts as 100 %.
constexpr int32_t nearestScaleStep(double factor) {
    if (!(factor > 1.0) || !(factor < 100.0)) return 100;
    int32_t best = 100;
    for (int32_t step : kGuiScaleSteps) {
        const double distance = factor * 100.0 - step, bestDistance = factor * 100.0 - best;
        if ((distance < 0 ? -distance : distance) < (bestDistance < 0 ? -bestDistance : bestDistance)) best = step;
    }
    return best;
}

struct GuiScale {
    int32_t percent = 100;

    bool isIdentity() const { return percent == 100; }
    // Device pixels for a logical coordinate, rounded half up (also below 0).
    int32_t toDevice(int32_t logical) const {
        const int64_t scaled = static_cast<int64_t>(logical) * percent + 50;
        return static_cast<int32_t>(scaled >= 0 ? scaled / 100 : -((-scaled + 99) / 100));
    }
    GuiPoint toDevice(const GuiPoint& p) const { return GuiPoint{toDevice(p.h), toDevice(p.v)}; }
    GuiRect toDevice(const GuiRect& r) const {
        return GuiRect{toDevice(r.left), toDevice(r.top), toDevice(r.right), toDevice(r.bottom)};
    }
    // The logical pixel a device pixel lies in.
    int32_t toLogical(int32_t device) const {
        const int64_t scaled = static_cast<int64_t>(device) * 100;
        return static_cast<int32_t>(scaled >= 0 ? scaled / percent : -((-scaled + percent - 1) / percent));
    }
    GuiPoint toLogical(const GuiPoint& p) const { return GuiPoint{toLogical(p.h), toLogical(p.v)}; }
    // A copy from a bitmap drawn for this step: the device destination and
    // source. Pixels are copied one to one from the rows the same rounding
    // gives (a strip's image starts exactly there), and never past the
    // source's own extent, so a neighbouring image cannot show when the two
    // roundings differ by a row.
    void toDeviceBlit(const GuiRect& dest, const GuiPoint& src, GuiRect& deviceDest, GuiPoint& deviceSrc) const {
        deviceDest = toDevice(dest);
        deviceSrc = toDevice(src);
        const GuiRect srcEnd = toDevice(GuiRect{src.h, src.v, src.h + dest.width(), src.v + dest.height()});
        if (srcEnd.width() < deviceDest.width()) deviceDest.right = deviceDest.left + srcEnd.width();
        if (srcEnd.height() < deviceDest.height()) deviceDest.bottom = deviceDest.top + srcEnd.height();
    }
    // The logical rectangle that covers a device rectangle.
    GuiRect toLogicalCovering(const GuiRect& r) const {
        return GuiRect{toLogical(r.left), toLogical(r.top), toLogical(r.right + percent / 100 + 1),
                       toLogical(r.bottom + percent / 100 + 1)};
    }
};
