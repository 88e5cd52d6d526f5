// Cairo drawing helpers shared by the artwork: an opaque canvas, the panel's
// colours and tracked single-line text in Liberation Sans.
#pragma once

#include "resources/artwork/image.h"

#include <cairo.h>

#include <string>

namespace artwork {

struct Colour {
    double r, g, b;
};

constexpr Colour rgb(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

// The colours of the whole product, in one place so every bitmap matches.
namespace tone {
constexpr Colour panel = rgb(221, 218, 211);       // the face; every knob sits on it
constexpr Colour panelLight = rgb(242, 240, 235);  // lit side of engravings
constexpr Colour panelShade = rgb(160, 155, 147);  // shaded side of engravings
constexpr Colour panelEdge = rgb(112, 108, 101);
constexpr Colour ink = rgb(40, 40, 43);            // labels
constexpr Colour inkMuted = rgb(100, 96, 90);     // scales, small print
constexpr Colour accent = rgb(200, 38, 34);        // pointer red
constexpr Colour plate = rgb(44, 44, 48);          // dark logo plate and buttons
constexpr Colour plateText = rgb(238, 236, 230);
constexpr Colour bezel = rgb(78, 76, 72);
constexpr Colour display = rgb(229, 231, 226);     // the value display's field
constexpr Colour ledGreen = rgb(96, 236, 112);
}  // namespace tone

inline void setColour(cairo_t* cr, Colour c, double alpha = 1.0) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

// Device pixels for a logical coordinate (>= 0) at a scale in percent,
// rounded half up: the rounding the editor uses when it looks up a strip's
// images, so each image starts on the row the editor copies from.
constexpr int scaled(int logical, int percent) { return (logical * percent + 50) / 100; }

// An opaque RGB surface filled with one colour, `width` x `height` logical
// pixels drawn at a scale in percent (the surface is that much larger and
// everything drawn in logical units).
class Canvas {
public:
    Canvas(int width, int height, Colour fill, int percent = 100);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return context; }
    // The pixels so far; pure white (the transparent key) becomes 254 grey so
    // nothing meant to be seen can ever be keyed out.
    Image image() const;

    // Drawing between the two is clipped to the strip image whose logical
    // rows are top..top + height, with the origin at its top-left corner. The
    // cell covers whole device rows, so neighbouring images never blend.
    void beginCell(int top, int height);
    void endCell();

private:
    int percent;
    cairo_surface_t* surface;
    cairo_t* context;
};

struct Font {
    double size;
    bool bold = true;
    bool italic = false;
    double tracking = 0;  // extra pixels between letters
};

enum class Align { left, centre, right };

double textWidth(cairo_t* cr, const std::string& text, const Font& font);
// Draws `text` with its baseline at `baseline`; `x` is the left edge, the
// centre or the right edge according to `align`.
void drawText(cairo_t* cr, const std::string& text, double x, double baseline, const Font& font, Align align,
              Colour colour);

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);

}  // namespace artwork
