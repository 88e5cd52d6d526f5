#include "analyser_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/host_parameters.h"
#include "core/host_value_text.h"
#include "dsp/parameter_index.h"
#include "gui/gui_draw_context.h"
#include "gui/gui_frame.h"
#include "gui/gui_platform.h"

namespace {

constexpr float kTopDb = 6.0f;
constexpr float kBottomDb = -84.0f;
constexpr int32_t kLabelRow = 12;  // Hz labels below the plot
constexpr int32_t kGrabDistance = 4;
constexpr int32_t kLabelFont = 6;  // Arial 9
const double kLn1000 = std::log(1000.0);

constexpr GuiColor kScreen{24, 25, 27, 0};
constexpr GuiColor kSoloedScreen{40, 43, 48, 0};
constexpr GuiColor kDimmedScreen{14, 14, 15, 0};
constexpr GuiColor kGrid{52, 53, 57, 0};
constexpr GuiColor kGridZero{82, 83, 88, 0};
constexpr GuiColor kLegend{128, 128, 134, 0};
constexpr GuiColor kInputFill{64, 68, 76, 0};
constexpr GuiColor kBandLine[3] = {{240, 160, 64, 0}, {112, 222, 120, 0}, {96, 172, 244, 0}};
constexpr GuiColor kDimmedLine[3] = {{96, 72, 44, 0}, {58, 92, 62, 0}, {52, 76, 104, 0}};
constexpr GuiColor kHandle{226, 64, 52, 0};
constexpr GuiColor kHandleText{238, 236, 230, 0};

constexpr double kGridHz[] = {50, 100, 200, 500, 1000, 2000, 5000, 10000};
constexpr const char* kGridHzText[] = {"50", "100", "200", "500", "1k", "2k", "5k", "10k"};
constexpr int32_t kLabelledDb[] = {0, -24, -48, -72};
constexpr int32_t kCrossTags[2] = {kCross1, kCross2};
constexpr int32_t kSoloTags[3] = {kSolo1, kSolo2, kSolo3};

float valueOfFrequency(double hz) { return static_cast<float>(std::log(hz / 20.0) / kLn1000); }

}  // namespace

AnalyserView::AnalyserView(const GuiRect& screen, GuiControlListener* owner, AnalysisSource& source,
                           ParameterLink& parameters)
    : GuiControl(screen, owner, kCross1),
      link(parameters),
      analysis(source),
      plotTop(screen.top + 2),
      plotBottom(screen.bottom - kLabelRow - 2) {
    dirty = true;
}

void AnalyserView::tick(uint32_t nowMs) {
    if (analysis.update(nowMs)) dirty = true;
    Shown now;
    for (int32_t i = 0; i < 2; ++i) now.crossovers[i] = link.currentValue(kCrossTags[i]);
    for (int32_t i = 0; i < 3; ++i) now.solos[i] = link.currentValue(kSoloTags[i]) > 0.5f;
    if (!(now == shown)) {
        shown = now;
        dirty = true;
    }
}

int32_t AnalyserView::xOfValue(float v) const {
    v = std::clamp(v, 0.0f, 1.0f);
    return size.left + static_cast<int32_t>(std::lround(v * static_cast<float>(size.width() - 1)));
}

float AnalyserView::valueAtX(int32_t x) const {
    return std::clamp(static_cast<float>(x - size.left) / static_cast<float>(size.width() - 1), 0.0f, 1.0f);
}

int32_t AnalyserView::handleAt(int32_t x) const {
    const int32_t x1 = xOfValue(shown.crossovers[0]), x2 = xOfValue(shown.crossovers[1]);
    const int32_t d1 = std::abs(x - x1), d2 = std::abs(x - x2);
    if (std::min(d1, d2) > kGrabDistance) return -1;
    // On top of each other, the side pressed on decides which one moves.
    if (d1 == d2) return x <= x1 ? kCross1 : kCross2;
    return d1 < d2 ? kCross1 : kCross2;
}

bool AnalyserView::bandDimmed(int32_t band) const {
    const bool anySolo = shown.solos[0] || shown.solos[1] || shown.solos[2];
    return anySolo && !shown.solos[band];
}

void AnalyserView::draw(GuiDrawContext* context) {
    dirty = false;
    if (!context) return;
    drawBands(context);
    drawSpectra(context);
    drawHandle(context, 0);
    drawHandle(context, 1);
}

void AnalyserView::drawBands(GuiDrawContext* context) const {
    const bool anySolo = shown.solos[0] || shown.solos[1] || shown.solos[2];
    const int32_t edges[4] = {size.left, xOfValue(shown.crossovers[0]), xOfValue(shown.crossovers[1]), size.right};
    for (int32_t band = 0; band < 3; ++band) {
        context->setFillColor(!anySolo ? kScreen : (bandDimmed(band) ? kDimmedScreen : kSoloedScreen));
        // fillRect leaves out the left column and top row.
        context->fillRect(GuiRect{edges[band] - 1, size.top - 1, edges[band + 1], size.bottom});
    }
}

int32_t AnalyserView::yOfLevel(float db) const {
    const float level = std::clamp(db, kBottomDb, kTopDb);
    return plotTop + static_cast<int32_t>(std::lround((kTopDb - level) * static_cast<float>(plotBottom - plotTop) /
                                                      (kTopDb - kBottomDb)));
}

// Over the input's fill and under the output's line.
void AnalyserView::drawGridLines(GuiDrawContext* context) const {
    context->setLineWidth(1);
    for (int32_t db = 0; db >= static_cast<int32_t>(kBottomDb); db -= 12) {
        const int32_t y = yOfLevel(static_cast<float>(db));
        context->setFrameColor(db == 0 ? kGridZero : kGrid);
        context->moveTo(GuiPoint{size.left, y});
        context->lineTo(GuiPoint{size.right, y});
    }
    context->setFrameColor(kGrid);
    for (const double hz : kGridHz) {
        const int32_t x = xOfValue(valueOfFrequency(hz));
        context->moveTo(GuiPoint{x, plotTop});
        context->lineTo(GuiPoint{x, plotBottom + 1});
    }
}

void AnalyserView::drawGridLabels(GuiDrawContext* context) const {
    context->setFont(kLabelFont);
    context->setFontColor(kLegend);
    for (const int32_t db : kLabelledDb) {
        const int32_t y = yOfLevel(static_cast<float>(db));
        char text[8];
        std::snprintf(text, sizeof text, db == 0 ? "%d dB" : "%d", db);
        context->drawString(text, GuiRect{size.left + 2, y - 10, size.left + 40, y}, false, kGuiLeftText);
    }
    for (size_t i = 0; i < std::size(kGridHz); ++i) {
        const int32_t x = xOfValue(valueOfFrequency(kGridHz[i]));
        context->drawString(kGridHzText[i], GuiRect{x - 20, plotBottom + 1, x + 20, size.bottom}, false,
                            kGuiCenterText);
    }
    context->drawString("Hz", GuiRect{size.right - 30, plotBottom + 1, size.right - 3, size.bottom}, false,
                        kGuiRightText);
}

void AnalyserView::levelPoints(const float* levels, float* xs, float* ys) const {
    const float span = static_cast<float>(plotBottom - plotTop);
    for (int32_t k = 0; k < SpectrumAnalysis::kBands; ++k) {
        const float v = std::min(valueOfFrequency(BandFilterBank::centreFrequency(k)), 1.0f);
        xs[k] = static_cast<float>(size.left) + v * static_cast<float>(size.width() - 1);
        const float level = std::clamp(levels[k], kBottomDb, kTopDb);
        ys[k] = static_cast<float>(plotTop) + (kTopDb - level) * span / (kTopDb - kBottomDb);
    }
}

namespace {
GuiPoint rounded(float x, float y) {
    return GuiPoint{static_cast<int32_t>(std::lround(x)), static_cast<int32_t>(std::lround(y))};
}

// The part of the line through (xs, ys) between x = from and x = to, with
// its ends where the line crosses them.
int32_t clippedLine(const float* xs, const float* ys, int32_t count, float from, float to, GuiPoint* out) {
    int32_t n = 0;
    const auto yAt = [&](float x) {
        for (int32_t k = 1; k < count; ++k)
            if (x <= xs[k]) return ys[k - 1] + (ys[k] - ys[k - 1]) * (x - xs[k - 1]) / (xs[k] - xs[k - 1]);
        return ys[count - 1];
    };
    if (to <= from) return 0;
    out[n++] = rounded(from, yAt(from));
    for (int32_t k = 0; k < count; ++k)
        if (xs[k] > from && xs[k] < to) out[n++] = rounded(xs[k], ys[k]);
    out[n++] = rounded(to, yAt(to));
    return n;
}
}  // namespace

void AnalyserView::drawSpectra(GuiDrawContext* context) const {
    constexpr int32_t kBands = SpectrumAnalysis::kBands;
    const int32_t bands = std::max(analysis.bandsInUse(), 2);
    float xs[kBands], ys[kBands];
    GuiPoint points[kBands + 4];

    levelPoints(analysis.inputLevels(), xs, ys);
    int32_t n = 0;
    points[n++] = GuiPoint{size.left, plotBottom + 1};
    for (int32_t k = 0; k < bands; ++k) points[n++] = rounded(xs[k], ys[k]);
    points[n++] = GuiPoint{static_cast<int32_t>(std::lround(xs[bands - 1])), plotBottom + 1};
    context->setFillColor(kInputFill);
    context->fillPolygon(points, n);
    drawGridLines(context);
    drawGridLabels(context);

    levelPoints(analysis.outputLevels(), xs, ys);
    const float last = xs[bands - 1];
    const float edges[4] = {static_cast<float>(size.left),
                            std::min(static_cast<float>(xOfValue(shown.crossovers[0])), last),
                            std::min(static_cast<float>(xOfValue(shown.crossovers[1])), last), last};
    context->setLineWidth(1);
    for (int32_t band = 0; band < 3; ++band) {
        context->setFrameColor(bandDimmed(band) ? kDimmedLine[band] : kBandLine[band]);
        context->polyline(points, clippedLine(xs, ys, bands, edges[band], edges[band + 1], points));
    }
}

void AnalyserView::drawHandle(GuiDrawContext* context, int32_t which) const {
    const int32_t x = xOfValue(shown.crossovers[which]);
    context->setFrameColor(kHandle);
    context->setLineWidth(1);
    context->moveTo(GuiPoint{x, size.top});
    context->lineTo(GuiPoint{x, plotBottom + 1});
    // A grip at the top, and the frequency beside it on the side with room.
    context->setFillColor(kHandle);
    context->fillRect(GuiRect{x - 3, size.top - 1, x + 2, size.top + 8});
    char text[32];
    if (!writeHostValueText(*hostParameter(static_cast<HostParameterId>(kCrossTags[which])), shown.crossovers[which],
                            text, sizeof text))
        return;
    constexpr int32_t kTextWidth = 48;
    const bool right = which == 0 ? x - size.left < kTextWidth + 6 : size.right - x >= kTextWidth + 6;
    const GuiRect place = right ? GuiRect{x + 4, size.top + 1, x + 4 + kTextWidth, size.top + 12}
                                : GuiRect{x - 4 - kTextWidth, size.top + 1, x - 4, size.top + 12};
    context->setFont(kLabelFont);
    context->setFontColor(kHandleText);
    context->drawString(text, place, false, right ? kGuiLeftText : kGuiRightText);
}

void AnalyserView::mouse(GuiDrawContext* context, GuiPoint& where) {
    if (!getMouseEnabled() || !context || !(context->getMouseButtons() & kGuiLButton)) return;
    const int32_t handle = handleAt(where.h);
    if (handle < 0) return;
    setTag(handle);
    value = shown.crossovers[handle == kCross1 ? 0 : 1];
    if (frame) frame->beginEdit(tag);
    dragHandle(context, where);
    if (frame) frame->endEdit(tag);
}

void AnalyserView::dragHandle(GuiDrawContext* context, GuiPoint pointer) {
    // Where the press landed on the handle stays under the pointer.
    const int32_t grip = pointer.h - xOfValue(value);
    GuiPoint last{-1, -1};
    int32_t buttons;
    do {
        buttons = context->getMouseButtons();
        if (pointer != last) {
            last = pointer;
            const float moved = valueAtX(pointer.h - grip);
            if (moved != value) {
                value = moved;
                if (listener) listener->valueChanged(context, this);
            }
        }
        context->getMouseLocation(pointer);
        idleDuringDrag();
    } while (buttons & kGuiLButton);
}
