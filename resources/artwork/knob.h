// The black ring knob with its red pointer, in two sizes. The seat (shadow
// and scale) is drawn both on the panel and in every knob image, so the
// opaque knob squares blend into the panel without a seam.
#pragma once

#include <cairo.h>

namespace artwork {

struct KnobStyle {
    int size;  // edge of the square the knob image fills
    double ring;             // outer radius of the black ring
    double cap;              // radius of the centre cap
    double tickInner, tickOuter, tickWidth;
    double pointerInner, pointerOuter, pointerWidth;
    int grooves;             // grip serrations around the ring
};

constexpr KnobStyle largeKnob{48, 17.0, 11.4, 20.6, 23.2, 1.1, 3.5, 16.1, 2.4, 36};
constexpr KnobStyle smallKnob{30, 10.4, 6.8, 12.4, 14.6, 1.0, 2.0, 9.8, 1.8, 24};

// The pointer sweeps 270 degrees clockwise from lower left (position 0) to
// lower right (position 1); angles in radians, maths convention.
double knobAngle(double position);

// Scale ticks (evenly spread over the sweep) and the soft contact shadow,
// centred on (cx, cy).
void drawKnobSeat(cairo_t* cr, double cx, double cy, const KnobStyle& style, int ticks);

// The knob itself with its pointer at `angle`.
void drawKnob(cairo_t* cr, double cx, double cy, const KnobStyle& style, double angle);

}  // namespace artwork
