// Draws the editor's bitmaps (ids 1001-1011) and writes them as .bmp
// files into the directory given on the command line.
//
// Run it by hand after changing the artwork, look at the result, and commit
// the bitmaps; the builds only embed the committed files and so never need
// cairo or the fonts:
//
//   cmake --build build --target velmora_artwork_generator
//   build/resources/velmora_artwork_generator resources/bitmaps
//
// It writes the 100 % set as .bmp files and every larger scale step as
// <id>-<percent>.png.
//
// Every position below is the place the editor gives the control; a knob or
// switch bitmap is blitted opaquely, so its square is painted in exactly the
// panel colour it covers.

#include "resources/artwork/bmp_writer.h"
#include "resources/artwork/canvas.h"
#include "resources/artwork/knob.h"
#include "resources/artwork/palette.h"
#include "resources/artwork/png_writer.h"
#include "resources/scale_steps.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace artwork;

namespace {

constexpr double kPi = 3.14159265358979323846;

constexpr int kPanelWidth = 484;
constexpr int kPanelHeight = 286;
constexpr int kBandSpacing = 140;
constexpr int kStripImages = 128;   // knob strips hold 128 images ...
constexpr int kShownImages = 126;   // ... of which the editor shows 0..125
constexpr int kTypeImages = 7;
constexpr int kScaleTicks = 11;

struct Rect {
    int x, y, w, h;
    double cx() const { return x + w / 2.0; }
    double cy() const { return y + h / 2.0; }
};

// Control places in the editor window.
constexpr Rect kMaster{48, 27, 48, 48};
constexpr Rect kDisplay{176, 29, 132, 15};
constexpr Rect kLogo{353, 14, 107, 54};
constexpr Rect kPFilter{223, 71, 36, 14};
constexpr Rect kCross[2] = {{158, 85, 30, 30}, {298, 85, 30, 30}};
// Band 1; the other bands are kBandSpacing further right.
constexpr Rect kSolo{72, 112, 60, 11};
constexpr Rect kType{48, 139, 48, 48};
constexpr Rect kLevel{108, 139, 48, 48};
constexpr Rect kBalance{48, 210, 48, 48};
constexpr Rect kGain{108, 210, 48, 48};
// The band sections' frames, and the two label baselines within them.
constexpr Rect kBandFrame{36, 117, 132, 161};
constexpr double kUpperLabelBaseline = 199;
constexpr double kLowerLabelBaseline = 270;

constexpr Rect shifted(Rect r, int band) { return {r.x + band * kBandSpacing, r.y, r.w, r.h}; }

const Font kLabel{8.5, true, false, 0.9};
const Font kSmallLabel{7.5, true, false, 0.8};

// ---------------------------------------------------------------- panel parts

// Engraved line pair: dark groove with a lit edge below/right of it.
template <typename Path>
void engrave(cairo_t* cr, Path path) {
    setColour(cr, tone::panelLight);
    cairo_set_line_width(cr, 1);
    path(cr, 1);
    cairo_stroke(cr);
    setColour(cr, tone::panelShade);
    path(cr, 0);
    cairo_stroke(cr);
}

void drawScrew(cairo_t* cr, double cx, double cy, double slotAngle) {
    cairo_pattern_t* recess = cairo_pattern_create_radial(cx, cy + 0.6, 3.5, cx, cy + 0.6, 6.2);
    cairo_pattern_add_color_stop_rgba(recess, 0, 0, 0, 0, 0.35);
    cairo_pattern_add_color_stop_rgba(recess, 1, 0, 0, 0, 0);
    cairo_set_source(cr, recess);
    cairo_arc(cr, cx, cy + 0.6, 6.2, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(recess);

    cairo_pattern_t* head = cairo_pattern_create_linear(cx - 4, cy - 4, cx + 4, cy + 4);
    cairo_pattern_add_color_stop_rgb(head, 0, 0.86, 0.86, 0.85);
    cairo_pattern_add_color_stop_rgb(head, 1, 0.52, 0.51, 0.50);
    cairo_set_source(cr, head);
    cairo_arc(cr, cx, cy, 4.2, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(head);

    setColour(cr, rgb(70, 68, 65));
    cairo_set_line_width(cr, 1.2);
    const double dx = 3.0 * std::cos(slotAngle), dy = 3.0 * std::sin(slotAngle);
    cairo_move_to(cr, cx - dx, cy - dy);
    cairo_line_to(cr, cx + dx, cy + dy);
    cairo_stroke(cr);
}

// A plate's outer edge with a bevel: lit top and left, shaded bottom and right.
void drawPlateBevel(cairo_t* cr, double height) {
    setColour(cr, tone::panelEdge);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 0.5, 0.5, kPanelWidth - 1, height - 1);
    cairo_stroke(cr);
    setColour(cr, tone::panelLight);
    cairo_move_to(cr, 1, 1.5);
    cairo_line_to(cr, kPanelWidth - 1, 1.5);
    cairo_move_to(cr, 1.5, 1);
    cairo_line_to(cr, 1.5, height - 1);
    cairo_stroke(cr);
    setColour(cr, rgb(196, 192, 184));
    cairo_move_to(cr, 2, height - 1.5);
    cairo_line_to(cr, kPanelWidth - 1, height - 1.5);
    cairo_move_to(cr, kPanelWidth - 1.5, 2);
    cairo_line_to(cr, kPanelWidth - 1.5, height - 1);
    cairo_stroke(cr);
}

void drawPanelFace(cairo_t* cr) {
    drawPlateBevel(cr, kPanelHeight);

    drawScrew(cr, 11, 11, 0.6);
    drawScrew(cr, kPanelWidth - 11, 11, -0.3);
    drawScrew(cr, 11, kPanelHeight - 11, 1.2);
    drawScrew(cr, kPanelWidth - 11, kPanelHeight - 11, 0.2);
}

void drawDisplayWindow(cairo_t* cr) {
    const Rect& d = kDisplay;
    // Lit lip below the recess, then the dark bezel, then the field itself.
    setColour(cr, tone::panelLight);
    roundedRect(cr, d.x - 3, d.y - 3, d.w + 6, d.h + 7, 3.5);
    cairo_fill(cr);
    setColour(cr, tone::bezel);
    roundedRect(cr, d.x - 3, d.y - 3, d.w + 6, d.h + 6, 3);
    cairo_fill(cr);
    setColour(cr, rgb(40, 39, 37));
    cairo_rectangle(cr, d.x - 1, d.y - 1, d.w + 2, d.h + 2);
    cairo_fill(cr);
    setColour(cr, tone::display);
    cairo_rectangle(cr, d.x, d.y, d.w, d.h);
    cairo_fill(cr);
}

// A sine pushed into clipping: the product in one line.
void clippedWave(cairo_t* cr, double x0, double x1, double yMid, double amplitude, double cycles) {
    const int steps = 160;
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double y = yMid - amplitude * std::tanh(3.2 * std::sin(2 * kPi * cycles * t)) / std::tanh(3.2);
        const double x = x0 + (x1 - x0) * t;
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
}

// Logo plate in the about-box trigger area.
void drawLogo(cairo_t* cr) {
    const Rect& l = kLogo;
    setColour(cr, tone::panelLight);
    roundedRect(cr, l.x - 0.5, l.y + 0.5, l.w + 1, l.h + 0.5, 5);
    cairo_fill(cr);
    setColour(cr, tone::plate);
    roundedRect(cr, l.x, l.y, l.w, l.h, 5);
    cairo_fill(cr);
    setColour(cr, rgb(88, 88, 94));
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, l.x + 5, l.y + 0.5);
    cairo_line_to(cr, l.x + l.w - 5, l.y + 0.5);
    cairo_stroke(cr);

    const Font word{23, true, true, 0};
    drawText(cr, "Velmora", l.cx() - 1, l.y + 31, word, Align::centre, tone::plateText);
    setColour(cr, tone::accent);
    cairo_set_line_width(cr, 1.5);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    clippedWave(cr, l.x + 13, l.x + l.w - 13, l.y + 38.5, 3.0, 3);
    cairo_stroke(cr);
    drawText(cr, "QUORVANE", l.cx(), l.y + 50, Font{6.5, true, false, 1.9}, Align::centre, rgb(150, 150, 154));
    drawText(cr, "THREE-BAND DISTORTION", l.cx(), l.y + l.h + 11, Font{6.5, true, false, 0.7}, Align::centre,
             tone::inkMuted);
}

void drawKnobPlace(cairo_t* cr, const Rect& r, const KnobStyle& style, int ticks) {
    drawKnobSeat(cr, r.cx(), r.cy(), style, ticks);
}

void drawBandFrame(cairo_t* cr, int band) {
    // Rounded frame whose top edge breaks for the SOLO switch.
    engrave(cr, [band](cairo_t* c, double o) {
        const Rect f = shifted(kBandFrame, band);
        const Rect s = shifted(kSolo, band);
        const double x0 = f.x + 0.5 + o, y0 = f.y + 0.5 + o;
        const double x1 = f.x + f.w - 0.5 + o, y1 = f.y + f.h - 0.5 + o;
        const double r = 7;
        const double gapLeft = s.x - 4, gapRight = s.x + s.w + 4;
        cairo_new_sub_path(c);
        cairo_move_to(c, gapRight, y0);
        cairo_arc(c, x1 - r, y0 + r, r, -kPi / 2, 0);
        cairo_arc(c, x1 - r, y1 - r, r, 0, kPi / 2);
        cairo_arc(c, x0 + r, y1 - r, r, kPi / 2, kPi);
        cairo_arc(c, x0 + r, y0 + r, r, kPi, 3 * kPi / 2);
        cairo_line_to(c, gapLeft, y0);
    });
}

void drawBand(cairo_t* cr, int band) {
    drawBandFrame(cr, band);
    const Rect type = shifted(kType, band), level = shifted(kLevel, band);
    const Rect balance = shifted(kBalance, band), gain = shifted(kGain, band);
    drawKnobPlace(cr, type, largeKnob, kTypeImages);
    drawKnobPlace(cr, level, largeKnob, kScaleTicks);
    drawKnobPlace(cr, balance, largeKnob, kScaleTicks);
    drawKnobPlace(cr, gain, largeKnob, kScaleTicks);
    drawText(cr, "TYPE", type.cx(), kUpperLabelBaseline, kLabel, Align::centre, tone::ink);
    drawText(cr, "LEVEL", level.cx(), kUpperLabelBaseline, kLabel, Align::centre, tone::ink);
    drawText(cr, "BAL", balance.cx(), kLowerLabelBaseline, kLabel, Align::centre, tone::ink);
    drawText(cr, "GAIN", gain.cx(), kLowerLabelBaseline, kLabel, Align::centre, tone::ink);

    static const char* const names[] = {"LOW", "MID", "HIGH"};
    drawText(cr, names[band], shifted(kSolo, band).cx(), 134, kSmallLabel, Align::centre, tone::inkMuted);
}

Image drawBackground(int percent) {
    Canvas canvas(kPanelWidth, kPanelHeight, tone::panel, percent);
    cairo_t* cr = canvas.cr();
    drawPanelFace(cr);

    drawKnobPlace(cr, kMaster, largeKnob, kScaleTicks);
    drawText(cr, "LEVEL", kMaster.cx(), 87, kLabel, Align::centre, tone::ink);
    drawText(cr, "MASTER", kMaster.cx(), 22, kSmallLabel, Align::centre, tone::inkMuted);

    drawDisplayWindow(cr);
    drawLogo(cr);

    drawText(cr, "PF", kPFilter.cx(), 66, kLabel, Align::centre, tone::ink);
    for (const Rect& r : kCross) drawKnobPlace(cr, r, smallKnob, kScaleTicks);
    drawText(cr, "CROSS 1", kCross[0].x - 4, kCross[0].cy() + 3, kSmallLabel, Align::right, tone::ink);
    drawText(cr, "CROSS 2", kCross[1].x + kCross[1].w + 4, kCross[1].cy() + 3, kSmallLabel, Align::left,
             tone::ink);

    for (int band = 0; band < 3; ++band) drawBand(cr, band);
    return canvas.image();
}

// ---------------------------------------------------------------- knob strips

// `images` pictures of `style`, pointer positions spread evenly over the
// first `positions` of them; later images repeat the last position.
Image drawKnobStrip(const KnobStyle& style, int images, int positions, int ticks, int percent) {
    const int s = style.size;
    Canvas canvas(s, s * images, tone::panel, percent);
    cairo_t* cr = canvas.cr();
    for (int i = 0; i < images; ++i) {
        const double position = static_cast<double>(std::min(i, positions - 1)) / (positions - 1);
        const double centre = s / 2.0;
        canvas.beginCell(i * s, s);
        drawKnobSeat(cr, centre, centre, style, ticks);
        drawKnob(cr, centre, centre, style, knobAngle(position));
        canvas.endCell();
    }
    return canvas.image();
}

// ---------------------------------------------------------------- switches

// One state of a dark push button with a legend, on the panel colour.
// The glow of a lit button: its face gradient, its top edge and its halo.
struct LitTint {
    Colour faceTop, faceBottom, edge, halo;
};
const LitTint kGreenLit{{0.17, 0.33, 0.19}, {0.08, 0.18, 0.09}, rgb(90, 160, 96), {0.38, 0.92, 0.44}};
// Bypass glows amber: a warning, not an engaged feature.
const LitTint kAmberLit{{0.40, 0.28, 0.08}, {0.22, 0.14, 0.03}, rgb(190, 140, 60), {0.98, 0.70, 0.20}};

void drawButton(cairo_t* cr, double y, double w, double h, const std::string& legend, const Font& font,
                const LitTint* lit, Colour legendColour) {
    const double r = h > 12 ? 3.5 : 3;
    // Face: dark plate, green-tinted and glowing when lit.
    cairo_pattern_t* face = cairo_pattern_create_linear(0, y, 0, y + h);
    if (lit) {
        cairo_pattern_add_color_stop_rgb(face, 0, lit->faceTop.r, lit->faceTop.g, lit->faceTop.b);
        cairo_pattern_add_color_stop_rgb(face, 1, lit->faceBottom.r, lit->faceBottom.g, lit->faceBottom.b);
    } else {
        cairo_pattern_add_color_stop_rgb(face, 0, 0.27, 0.27, 0.29);
        cairo_pattern_add_color_stop_rgb(face, 1, 0.13, 0.13, 0.14);
    }
    roundedRect(cr, 0.5, y + 0.5, w - 1, h - 1, r);
    cairo_set_source(cr, face);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(face);
    setColour(cr, rgb(20, 20, 22));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Lit top edge inside the border.
    setColour(cr, lit ? lit->edge : rgb(100, 100, 106), 0.8);
    cairo_move_to(cr, 0.5 + r, y + 1.5);
    cairo_line_to(cr, w - 0.5 - r, y + 1.5);
    cairo_stroke(cr);

    cairo_text_extents_t extents;
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, font.size);
    cairo_text_extents(cr, "O", &extents);
    const double baseline = std::round(y + h / 2.0 + extents.height / 2.0);
    if (lit) {
        // A soft halo behind the lit legend.
        cairo_pattern_t* halo = cairo_pattern_create_radial(w / 2, y + h / 2, 1, w / 2, y + h / 2, w / 2);
        cairo_pattern_add_color_stop_rgba(halo, 0, lit->halo.r, lit->halo.g, lit->halo.b, 0.35);
        cairo_pattern_add_color_stop_rgba(halo, 1, lit->halo.r, lit->halo.g, lit->halo.b, 0);
        cairo_save(cr);
        roundedRect(cr, 1, y + 1, w - 2, h - 2, r);
        cairo_clip(cr);
        cairo_set_source(cr, halo);
        cairo_paint(cr);
        cairo_restore(cr);
        cairo_pattern_destroy(halo);
    }
    drawText(cr, legend, w / 2.0, baseline, font, Align::centre, legendColour);
}

Image drawSwitch(int percent, int w, int h, const std::string& legend, const Font& font, Colour offLegend,
                 const LitTint& lit = kGreenLit, Colour litLegend = tone::ledGreen) {
    Canvas canvas(w, h * 2, tone::panel, percent);
    canvas.beginCell(0, h);
    drawButton(canvas.cr(), 0, w, h, legend, font, nullptr, offLegend);
    canvas.endCell();
    canvas.beginCell(h, h);
    drawButton(canvas.cr(), 0, w, h, legend, font, &lit, litLegend);
    canvas.endCell();
    return canvas.image();
}

// ---------------------------------------------------------------- about box

Image drawAbout(int percent) {
    const int w = 289, h = 179;
    Canvas canvas(w, h, tone::panel, percent);
    cairo_t* cr = canvas.cr();

    // Dark title band carrying the logo.
    const double band = 66;
    setColour(cr, tone::plate);
    cairo_rectangle(cr, 0, 0, w, band);
    cairo_fill(cr);
    drawText(cr, "Velmora", w / 2.0, 38, Font{34, true, true, 0}, Align::centre, tone::plateText);
    setColour(cr, tone::accent);
    cairo_set_line_width(cr, 2);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    clippedWave(cr, 78, w - 78, 50.5, 4.5, 4);
    cairo_stroke(cr);
    setColour(cr, tone::accent);
    cairo_rectangle(cr, 0, band, w, 2);
    cairo_fill(cr);

    drawText(cr, "Three-band distortion", w / 2.0, 91, Font{13, true, false, 0}, Align::centre, tone::ink);
    drawText(cr, "Version 1.0", w / 2.0, 107, Font{10, false, false, 0}, Align::centre, tone::inkMuted);

    setColour(cr, tone::panelShade);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, 60, 118.5);
    cairo_line_to(cr, w - 60, 118.5);
    cairo_stroke(cr);
    setColour(cr, tone::panelLight);
    cairo_move_to(cr, 60, 119.5);
    cairo_line_to(cr, w - 60, 119.5);
    cairo_stroke(cr);

    drawText(cr, "QUORVANE", w / 2.0, 136, Font{9, true, false, 2.4}, Align::centre, tone::ink);
    drawText(cr, "Sound design, DSP and artwork by the Quorvane team", w / 2.0, 151, Font{8.5, false, false, 0},
             Align::centre, tone::inkMuted);
    drawText(cr, "Click to close", w / 2.0, 170, Font{7.5, false, true, 0}, Align::centre, tone::inkMuted);

    // Frame: dark edge with a lit inner line, like the panel's own edge.
    setColour(cr, tone::panelEdge);
    cairo_rectangle(cr, 0.5, 0.5, w - 1, h - 1);
    cairo_stroke(cr);
    setColour(cr, tone::panelLight);
    cairo_move_to(cr, 1.5, band + 2);
    cairo_line_to(cr, 1.5, h - 1.5);
    cairo_stroke(cr);
    return canvas.image();
}

// ---------------------------------------------------------------- display field

Image drawDisplayField(int percent) {
    Canvas canvas(kDisplay.w, kDisplay.h, tone::display, percent);
    return canvas.image();
}

// ---------------------------------------------------------------- footer

// The strip below the panel in the editors that offer Quality, Mix and
// Bypass; places are relative to the strip's top-left corner.
constexpr int kFooterHeight = 40;
constexpr int kQualitySettings = 4;
constexpr Rect kQualitySelector{80, 13, 160, 14};
constexpr Rect kMixKnob{306, 5, 30, 30};
constexpr Rect kBypassSwitch{396, 13, 60, 14};
const Font kSegmentLegend{7.5, true, false, 0.4};

Image drawFooter(int percent) {
    Canvas canvas(kPanelWidth, kFooterHeight, tone::panel, percent);
    cairo_t* cr = canvas.cr();
    // The panel's own bevel, so the strip reads as a second plate below it.
    drawPlateBevel(cr, kFooterHeight);

    const Rect& q = kQualitySelector;
    drawText(cr, "QUALITY", q.x - 6, q.cy() + 3, kSmallLabel, Align::right, tone::ink);
    drawKnobPlace(cr, kMixKnob, smallKnob, kScaleTicks);
    drawText(cr, "MIX", kMixKnob.x - 4, kMixKnob.cy() + 3, kSmallLabel, Align::right, tone::ink);
    return canvas.image();
}

// ---------------------------------------------------------------- analyser

// The plate between the panel and the footer that holds the analyser: a
// recessed dark screen like the value display's, the spectrum drawn into it
// by the editor. Places are relative to the plate's top-left corner.
constexpr int kAnalyserHeight = 120;
constexpr Rect kAnalyserScreen{24, 8, 436, 104};
constexpr Colour kScreen = rgb(24, 25, 27);

Image drawAnalyserPlate(int percent) {
    Canvas canvas(kPanelWidth, kAnalyserHeight, tone::panel, percent);
    cairo_t* cr = canvas.cr();
    drawPlateBevel(cr, kAnalyserHeight);
    drawScrew(cr, 11, kAnalyserHeight / 2.0, 0.9);
    drawScrew(cr, kPanelWidth - 11, kAnalyserHeight / 2.0, -0.5);
    const Rect& s = kAnalyserScreen;
    setColour(cr, tone::panelLight);
    roundedRect(cr, s.x - 4, s.y - 4, s.w + 8, s.h + 9, 4.5);
    cairo_fill(cr);
    setColour(cr, tone::bezel);
    roundedRect(cr, s.x - 4, s.y - 4, s.w + 8, s.h + 8, 4);
    cairo_fill(cr);
    setColour(cr, rgb(40, 39, 37));
    cairo_rectangle(cr, s.x - 1, s.y - 1, s.w + 2, s.h + 2);
    cairo_fill(cr);
    setColour(cr, kScreen);
    cairo_rectangle(cr, s.x, s.y, s.w, s.h);
    cairo_fill(cr);
    return canvas.image();
}

// One image per setting, stacked: the whole row of segments with that
// setting's segment lit.
Image drawQualitySelector(int percent) {
    static const char* const legends[kQualitySettings] = {"NORMAL", "2x", "4x", "8x"};
    const Rect& q = kQualitySelector;
    const int segment = q.w / kQualitySettings;
    Canvas canvas(q.w, q.h * kQualitySettings, tone::panel, percent);
    cairo_t* cr = canvas.cr();
    for (int chosen = 0; chosen < kQualitySettings; ++chosen) {
        canvas.beginCell(chosen * q.h, q.h);
        for (int i = 0; i < kQualitySettings; ++i) {
            cairo_save(cr);
            cairo_translate(cr, i * segment, 0);
            const bool lit = i == chosen;
            drawButton(cr, 0, segment, q.h, legends[i], kSegmentLegend, lit ? &kGreenLit : nullptr,
                       lit ? tone::ledGreen : rgb(150, 150, 154));
            cairo_restore(cr);
        }
        canvas.endCell();
    }
    return canvas.image();
}

// ---------------------------------------------------------------- output

// Every bitmap at one scale step, by id. The editor looks them up by id and
// step, and copies the images of a strip from the rows scaled() gives.
struct Drawn {
    int id;
    Image image;
};

std::vector<Drawn> drawAll(int percent) {
    std::vector<Drawn> all;
    all.push_back({1001, drawBackground(percent)});
    all.push_back({1002, drawSwitch(percent, kSolo.w, kSolo.h, "SOLO", Font{8, true, false, 0.6}, rgb(150, 150, 154))});
    all.push_back({1003, drawKnobStrip(largeKnob, kStripImages, kShownImages, kScaleTicks, percent)});
    all.push_back({1004, drawKnobStrip(largeKnob, kTypeImages, kTypeImages, kTypeImages, percent)});
    all.push_back({1005, drawKnobStrip(smallKnob, kStripImages, kShownImages, kScaleTicks, percent)});
    all.push_back({1006, drawSwitch(percent, kPFilter.w, kPFilter.h, "PF", Font{10, true, false, 1.0}, tone::plateText)});
    all.push_back({1007, drawAbout(percent)});
    all.push_back({1008, drawDisplayField(percent)});
    all.push_back({1009, drawFooter(percent)});
    all.push_back({1010, drawQualitySelector(percent)});
    all.push_back({1011, drawSwitch(percent, kBypassSwitch.w, kBypassSwitch.h, "BYPASS", Font{8, true, false, 0.6},
                                    rgb(150, 150, 154), kAmberLit, rgb(255, 196, 80))});
    all.push_back({1012, drawAnalyserPlate(percent)});
    return all;
}

// The 100 % set as .bmp files (the background palettised), the form both
// platforms have always loaded.
bool writePanelBitmaps(const std::string& dir) {
    bool ok = true;
    for (const Drawn& each : drawAll(100)) {
        const std::string path = dir + "/" + std::to_string(each.id) + ".bmp";
        if (each.id == 1001) {
            const PalettisedImage background = palettise(each.image);
            ok &= writeBmp8(path, kPanelWidth, kPanelHeight, background.palette, background.indices);
        } else {
            ok &= writeBmp24(path, each.image);
        }
    }
    return ok;
}

// The knob strips are most of the artwork's bytes. At 150 and 250 % the
// editor area-averages them from the 300 % strips instead: their 48- and
// 30-pixel images map to whole device pixels at both steps, so every image
// reduces on its own, and a reduction from twice or 6/5 the size cannot be
// told from a drawing at the step.
bool derivedFromLargerStep(int id, int percent) {
    return (id == 1003 || id == 1004 || id == 1005) && (percent == 150 || percent == 250);
}

// The larger steps as PNG files named <id>-<percent>.png.
bool writeScaledBitmaps(const std::string& dir) {
    bool ok = true;
    for (int percent : kScaledSteps)
        for (const Drawn& each : drawAll(percent))
            if (!derivedFromLargerStep(each.id, percent))
                ok &= writePng(dir + "/" + std::to_string(each.id) + "-" + std::to_string(percent) + ".png",
                               each.image);
    return ok;
}

bool writeAll(const std::string& dir) { return writePanelBitmaps(dir) && writeScaledBitmaps(dir); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const bool ok = writeAll(argv[1]);
    // Release cairo's and fontconfig's caches so leak checkers stay quiet.
    cairo_debug_reset_static_data();
    FcFini();
    return ok ? 0 : 1;
}
