#include "resources/artwork/canvas.h"

#include <cmath>

namespace artwork {

Canvas::Canvas(int width, int height, Colour fill, int scalePercent)
    : percent(scalePercent),
      surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, scaled(width, scalePercent),
                                         scaled(height, scalePercent))),
      context(cairo_create(surface)) {
    // Slight hinting keeps 8-9 px capitals crisp without distorting them.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(context, options);
    cairo_font_options_destroy(options);

    setColour(context, fill);
    cairo_paint(context);
    if (percent != 100) cairo_scale(context, percent / 100.0, percent / 100.0);
}

void Canvas::beginCell(int top, int height) {
    const int y0 = scaled(top, percent), y1 = scaled(top + height, percent);
    cairo_save(context);
    cairo_identity_matrix(context);
    cairo_rectangle(context, 0, y0, cairo_image_surface_get_width(surface), y1 - y0);
    cairo_clip(context);
    cairo_translate(context, 0, y0);
    if (percent != 100) cairo_scale(context, percent / 100.0, percent / 100.0);
}

void Canvas::endCell() { cairo_restore(context); }

Canvas::~Canvas() {
    cairo_destroy(context);
    cairo_surface_destroy(surface);
}

Image Canvas::image() const {
    cairo_surface_flush(surface);
    Image out;
    out.width = cairo_image_surface_get_width(surface);
    out.height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    out.pixels.reserve(static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < out.width; ++x) {
            Rgb p{static_cast<std::uint8_t>(row[x] >> 16), static_cast<std::uint8_t>(row[x] >> 8),
                  static_cast<std::uint8_t>(row[x])};
            if (p == Rgb{255, 255, 255}) p = {254, 254, 254};
            out.pixels.push_back(p);
        }
    }
    return out;
}

namespace {

void selectFont(cairo_t* cr, const Font& font) {
    cairo_select_font_face(cr, "Liberation Sans", font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, font.size);
}

double advance(cairo_t* cr, char c) {
    const char glyph[2] = {c, 0};
    cairo_text_extents_t extents;
    cairo_text_extents(cr, glyph, &extents);
    return extents.x_advance;
}

}  // namespace

double textWidth(cairo_t* cr, const std::string& text, const Font& font) {
    selectFont(cr, font);
    if (font.tracking == 0) {
        cairo_text_extents_t extents;
        cairo_text_extents(cr, text.c_str(), &extents);
        return extents.x_advance;
    }
    double width = 0;
    for (char c : text) width += advance(cr, c);
    return width + font.tracking * static_cast<double>(text.size() > 0 ? text.size() - 1 : 0);
}

void drawText(cairo_t* cr, const std::string& text, double x, double baseline, const Font& font, Align align,
              Colour colour) {
    const double width = textWidth(cr, text, font);
    double left = align == Align::left ? x : align == Align::centre ? x - width / 2 : x - width;
    left = std::round(left);  // whole-pixel starts keep stems sharp
    setColour(cr, colour);
    if (font.tracking == 0) {
        cairo_move_to(cr, left, baseline);
        cairo_show_text(cr, text.c_str());
        return;
    }
    for (char c : text) {
        const char glyph[2] = {c, 0};
        cairo_move_to(cr, left, baseline);
        cairo_show_text(cr, glyph);
        left += advance(cr, c) + font.tracking;
    }
}

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
    const double pi = 3.14159265358979323846;
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -pi / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, pi / 2);
    cairo_arc(cr, x + radius, y + h - radius, radius, pi / 2, pi);
    cairo_arc(cr, x + radius, y + radius, radius, pi, 3 * pi / 2);
    cairo_close_path(cr);
}

}  // namespace artwork
