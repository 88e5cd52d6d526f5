#include "cairo_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "cairo_bitmap_image.h"

namespace {
void setColour(cairo_t* cr, const GuiColor& c) {
    cairo_set_source_rgb(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0);
}

// Texts are 8-bit (Latin-1); cairo wants UTF-8 and stops drawing on bad input.
std::string latin1ToUtf8(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}
}  // namespace

CairoCanvas::CairoCanvas(cairo_surface_t* surface, GuiScale scaleStep)
    : target(cairo_surface_reference(surface)), cr(cairo_create(surface)), scale(scaleStep) {
    if (!scale.isIdentity()) cairo_scale(cr, scale.percent / 100.0, scale.percent / 100.0);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);  // crisp stems at small sizes
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    applyFont();
}

CairoCanvas::~CairoCanvas() {
    finish();
    cairo_surface_destroy(target);
}

void CairoCanvas::finish() {
    if (!cr) return;
    cairo_destroy(cr);
    cr = nullptr;
    cairo_surface_flush(target);
}

void CairoCanvas::setPen(const GuiColor& colour, int32_t width, int32_t style) {
    pen = colour;
    penWidth = width < 1 ? 1 : width;
    penStyle = style;
}

void CairoCanvas::setBrush(const GuiColor& colour) { brush = colour; }
void CairoCanvas::setTextColor(const GuiColor& colour) { text = colour; }

void CairoCanvas::setFont(const GuiFontChoice& fontChoice) {
    font = fontChoice;
    applyFont();
}

void CairoCanvas::applyFont() {
    if (!cr) return;
    cairo_select_font_face(cr, font.face ? font.face : "Arial",
                           font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.height > 0 ? font.height : 12);
}

void CairoCanvas::fillPixels(double x, double y, double w, double h, const GuiColor& colour) {
    if (!cr || w <= 0 || h <= 0) return;
    setColour(cr, colour);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

void CairoCanvas::moveTo(const GuiPoint& p) { current = p; }

void CairoCanvas::lineTo(const GuiPoint& p) {
    const GuiPoint from = current;
    current = p;
    if (!cr || from == p) return;

    const bool horizontal = from.v == p.v;
    const bool vertical = from.h == p.h;
    if ((horizontal || vertical) && penWidth == 1) {
        // One-pixel lines along an axis: the pixels from the start up to, but
        // not including, the end; a dotted pen paints every other one.
        const int32_t length = horizontal ? std::abs(p.h - from.h) : std::abs(p.v - from.v);
        const int32_t dh = horizontal ? (p.h > from.h ? 1 : -1) : 0;
        const int32_t dv = vertical ? (p.v > from.v ? 1 : -1) : 0;
        if (penStyle == kGuiLineSolid) {
            const int32_t x0 = horizontal ? std::min(from.h, from.h + dh * (length - 1)) : from.h;
            const int32_t y0 = vertical ? std::min(from.v, from.v + dv * (length - 1)) : from.v;
            fillPixels(x0, y0, horizontal ? length : 1, vertical ? length : 1, pen);
        } else {
            for (int32_t i = 0; i < length; i += 2) {
                fillPixels(from.h + dh * i, from.v + dv * i, 1, 1, pen);
            }
        }
        return;
    }

    cairo_save(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    setColour(cr, pen);
    cairo_set_line_width(cr, penWidth);
    if (penStyle != kGuiLineSolid) {
        const double dash[] = {1.0, 1.0};
        cairo_set_dash(cr, dash, 2, 0.0);
    }
    cairo_move_to(cr, from.h + 0.5, from.v + 0.5);
    cairo_line_to(cr, p.h + 0.5, p.v + 0.5);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void CairoCanvas::devicePath(const GuiPoint* points, int32_t count, bool centred) {
    const double shift = centred ? 0.5 : 0.0;
    cairo_new_path(cr);
    for (int32_t i = 0; i < count; ++i) {
        const GuiPoint at = scale.toDevice(points[i]);
        cairo_line_to(cr, at.h + shift, at.v + shift);
    }
}

void CairoCanvas::polyline(const GuiPoint* points, int32_t count) {
    if (!cr || count < 2) return;
    cairo_save(cr);
    cairo_identity_matrix(cr);
    const int32_t width = std::max(1, scale.toDevice(penWidth));
    devicePath(points, count, width % 2 == 1);
    setColour(cr, pen);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void CairoCanvas::fillPolygon(const GuiPoint* points, int32_t count) {
    if (!cr || count < 3) return;
    cairo_save(cr);
    cairo_identity_matrix(cr);
    devicePath(points, count, false);
    cairo_close_path(cr);
    setColour(cr, brush);
    cairo_fill(cr);
    cairo_restore(cr);
}

void CairoCanvas::fillRect(const GuiRect& r) {
    fillPixels(r.left, r.top, r.width(), r.height(), brush);
}

void CairoCanvas::drawText(const char* utf, const GuiRect& r, int32_t align, bool opaque) {
    if (!cr || !utf || !*utf || r.width() <= 0 || r.height() <= 0) return;
    const std::string line = latin1ToUtf8(utf);

    cairo_save(cr);
    cairo_rectangle(cr, r.left, r.top, r.width(), r.height());
    cairo_clip(cr);

    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    cairo_text_extents_t te;
    cairo_text_extents(cr, line.c_str(), &te);
    const double advance = std::ceil(te.x_advance);
    const double cell = std::ceil(fe.ascent + fe.descent);

    double x = r.left;
    if (align == kGuiCenterText) {
        x = r.left + std::floor((r.width() - advance) / 2.0);
    } else if (align == kGuiRightText) {
        x = r.right - advance;
    }
    const double top = r.top + std::floor((r.height() - cell) / 2.0);
    const double baseline = top + std::round(fe.ascent);

    if (opaque) {
        setColour(cr, brush);
        cairo_rectangle(cr, x, top, advance, cell);
        cairo_fill(cr);
    }
    setColour(cr, text);
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, line.c_str());
    if (font.underline) {
        cairo_new_path(cr);
        cairo_rectangle(cr, x, baseline + 1, advance, std::max(1.0, std::round(font.height / 14.0)));
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void CairoCanvas::paintSurface(cairo_surface_t* source, const GuiRect& logicalDest, const GuiPoint& logicalSrc) {
    if (!cr || !source || logicalDest.width() <= 0 || logicalDest.height() <= 0) return;
    // The bitmap was drawn for this step: device pixels, outside the transform.
    GuiRect dest;
    GuiPoint src;
    scale.toDeviceBlit(logicalDest, logicalSrc, dest, src);
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_rectangle(cr, dest.left, dest.top, dest.width(), dest.height());
    cairo_clip(cr);
    cairo_set_source_surface(cr, source, dest.left - src.h, dest.top - src.v);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
}

void CairoCanvas::blit(const GuiBitmapImage& image, const GuiRect& dest, const GuiPoint& src) {
    const auto* pixels = dynamic_cast<const CairoBitmapImage*>(&image);
    if (pixels) paintSurface(pixels->surface(), dest, src);
}

void CairoCanvas::blitKeyed(const GuiBitmapImage& image, const GuiRect& dest, const GuiPoint& src,
                            const GuiColor& key) {
    const auto* pixels = dynamic_cast<const CairoBitmapImage*>(&image);
    if (pixels) paintSurface(pixels->keyedSurface(key), dest, src);
}
