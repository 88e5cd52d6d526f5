#include "resources/artwork/knob.h"

#include "resources/artwork/canvas.h"

#include <cmath>

namespace artwork {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kStartAngle = 5 * kPi / 4;  // half past seven
constexpr double kSweep = 3 * kPi / 2;

// Screen position at radius r and maths angle a (y grows downwards).
void polar(double cx, double cy, double r, double a, double& x, double& y) {
    x = cx + r * std::cos(a);
    y = cy - r * std::sin(a);
}

void radialLine(cairo_t* cr, double cx, double cy, double angle, double r0, double r1) {
    double x, y;
    polar(cx, cy, r0, angle, x, y);
    cairo_move_to(cr, x, y);
    polar(cx, cy, r1, angle, x, y);
    cairo_line_to(cr, x, y);
}

// A vertical light-to-dark gradient over a circle, lit from above.
cairo_pattern_t* topLit(double cx, double cy, double r, Colour top, Colour bottom) {
    cairo_pattern_t* p = cairo_pattern_create_linear(cx, cy - r, cx, cy + r);
    cairo_pattern_add_color_stop_rgb(p, 0, top.r, top.g, top.b);
    cairo_pattern_add_color_stop_rgb(p, 1, bottom.r, bottom.g, bottom.b);
    return p;
}

}  // namespace

double knobAngle(double position) { return kStartAngle - kSweep * position; }

void drawKnobSeat(cairo_t* cr, double cx, double cy, const KnobStyle& style, int ticks) {
    cairo_save(cr);
    // Contact shadow, offset down as the light comes from above; it fades out
    // well inside the square so the square's rim stays pure panel colour.
    const double drop = style.size > 40 ? 1.6 : 1.1;
    const double spread = style.size > 40 ? 3.2 : 2.2;
    cairo_pattern_t* shadow =
        cairo_pattern_create_radial(cx, cy + drop, style.ring * 0.75, cx, cy + drop, style.ring + spread);
    cairo_pattern_add_color_stop_rgba(shadow, 0, 0, 0, 0, 0.55);
    cairo_pattern_add_color_stop_rgba(shadow, 1, 0, 0, 0, 0);
    cairo_set_source(cr, shadow);
    cairo_arc(cr, cx, cy + drop, style.ring + spread, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(shadow);

    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (int i = 0; i < ticks; ++i) {
        // The ends (and the centre of an odd scale) are longer and darker.
        const bool major = i == 0 || i == ticks - 1 || (ticks % 2 == 1 && ticks > 7 && i == ticks / 2);
        const double inner = major ? style.tickInner - 0.8 : style.tickInner;
        setColour(cr, major ? tone::ink : tone::inkMuted);
        cairo_set_line_width(cr, major ? style.tickWidth * 1.15 : style.tickWidth);
        radialLine(cr, cx, cy, knobAngle(static_cast<double>(i) / (ticks - 1)), inner, style.tickOuter);
        cairo_stroke(cr);
    }
    cairo_restore(cr);
}

void drawKnob(cairo_t* cr, double cx, double cy, const KnobStyle& style, double angle) {
    cairo_save(cr);
    // Black ring with a faint sheen towards the top.
    cairo_pattern_t* ring = topLit(cx, cy, style.ring, rgb(46, 46, 50), rgb(8, 8, 9));
    cairo_set_source(cr, ring);
    cairo_arc(cr, cx, cy, style.ring, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(ring);

    // Grip serrations turn with the knob.
    cairo_set_line_width(cr, style.size > 40 ? 0.8 : 0.6);
    setColour(cr, rgb(70, 70, 76), 0.75);
    for (int g = 0; g < style.grooves; ++g)
        radialLine(cr, cx, cy, angle + 2 * kPi * g / style.grooves, style.cap + 1.2, style.ring - 0.7);
    cairo_stroke(cr);

    // Rim catching the light at the top.
    cairo_pattern_t* rim = cairo_pattern_create_linear(cx, cy - style.ring, cx, cy + style.ring);
    cairo_pattern_add_color_stop_rgba(rim, 0, 0.62, 0.62, 0.65, 0.9);
    cairo_pattern_add_color_stop_rgba(rim, 0.55, 0.3, 0.3, 0.32, 0.2);
    cairo_pattern_add_color_stop_rgba(rim, 1, 0, 0, 0, 0.6);
    cairo_set_source(cr, rim);
    cairo_set_line_width(cr, 0.9);
    cairo_arc(cr, cx, cy, style.ring - 0.45, 0, 2 * kPi);
    cairo_stroke(cr);
    cairo_pattern_destroy(rim);

    // Satin centre cap, a little lighter than the ring.
    cairo_pattern_t* cap = topLit(cx, cy, style.cap, rgb(92, 92, 98), rgb(24, 24, 27));
    cairo_set_source(cr, cap);
    cairo_arc(cr, cx, cy, style.cap, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(cap);
    setColour(cr, rgb(6, 6, 7), 0.8);
    cairo_set_line_width(cr, 0.8);
    cairo_arc(cr, cx, cy, style.cap + 0.2, 0, 2 * kPi);
    cairo_stroke(cr);

    // Red pointer from near the centre out over the ring.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, style.pointerWidth);
    setColour(cr, tone::accent);
    radialLine(cr, cx, cy, angle, style.pointerInner, style.pointerOuter);
    cairo_stroke(cr);
    cairo_restore(cr);
}

}  // namespace artwork
