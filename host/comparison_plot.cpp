#include "host/comparison_plot.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/cairo_image.h"
#include "host/png_writer.h"

namespace {

constexpr int kPanelWidth = 620, kHeight = 560;
constexpr double kLeft = 58, kRight = 16, kTop = 128, kBottom = 36;
constexpr double kLowHz = 20.0, kHighHz = 20000.0;
constexpr double kTopDb = -10.0, kBottomDb = -110.0;

struct Colour {
    double r, g, b;
};
constexpr Colour kInputColour{0.10, 0.35, 0.80}, kOutputColour{0.85, 0.25, 0.10}, kReferenceColour{0.75, 0.75, 0.75};

double plotWidth() { return kPanelWidth - kLeft - kRight; }
double plotX(double hz) { return kLeft + plotWidth() * std::log(hz / kLowHz) / std::log(kHighHz / kLowHz); }
double hzAt(double x) { return kLowHz * std::exp((x - kLeft) / plotWidth() * std::log(kHighHz / kLowHz)); }
double plotY(double db) {
    return kTop + (kHeight - kTop - kBottom) * (kTopDb - std::clamp(db, kBottomDb, kTopDb)) / (kTopDb - kBottomDb);
}

void text(cairo_t* cr, double x, double y, const std::string& s) {
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, s.c_str());
}

void drawGrid(cairo_t* cr) {
    cairo_set_line_width(cr, 1.0);
    cairo_set_font_size(cr, 11.0);
    char label[32];
    for (double db = kTopDb; db >= kBottomDb; db -= 20.0) {
        cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
        cairo_move_to(cr, kLeft, std::floor(plotY(db)) + 0.5);
        cairo_line_to(cr, kPanelWidth - kRight, std::floor(plotY(db)) + 0.5);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        std::snprintf(label, sizeof label, "%.0f dB", db);
        text(cr, 8, plotY(db) + 4, label);
    }
    for (double hz : {20.0, 50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0, 20000.0}) {
        cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
        cairo_move_to(cr, std::floor(plotX(hz)) + 0.5, kTop);
        cairo_line_to(cr, std::floor(plotX(hz)) + 0.5, kHeight - kBottom);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        std::snprintf(label, sizeof label, hz < 1000.0 ? "%.0f" : "%.0fk", hz < 1000.0 ? hz : hz / 1000.0);
        text(cr, plotX(hz) - 8, kHeight - kBottom + 16, label);
    }
}

// One point per pixel column: the mean power of the bins it covers, or the
// nearest bin where a column is narrower than a bin (the low frequencies).
void drawCurve(cairo_t* cr, const AverageSpectrum& s, Colour colour, double width) {
    cairo_set_source_rgb(cr, colour.r, colour.g, colour.b);
    cairo_set_line_width(cr, width);
    const size_t last = s.levelDb.size() - 1;
    for (double x = kLeft; x < kPanelWidth - kRight; x += 1.0) {
        const auto from = std::min(last, static_cast<size_t>(std::lround(hzAt(x) / s.binHz)));
        const auto to = std::clamp(static_cast<size_t>(std::lround(hzAt(x + 1.0) / s.binHz)), from + 1, last + 1);
        double power = 0.0;
        for (size_t k = from; k < to; ++k) power += std::pow(10.0, s.levelDb[k] / 10.0);
        const double y = plotY(10.0 * std::log10(power / static_cast<double>(to - from)));
        if (x == kLeft)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_stroke(cr);
}

void drawPanel(cairo_t* cr, const SpectrumPanel& panel, Colour colour, const AverageSpectrum* reference) {
    drawGrid(cr);
    if (reference != nullptr) drawCurve(cr, *reference, kReferenceColour, 1.0);
    drawCurve(cr, panel.spectrum, colour, 1.4);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_set_font_size(cr, 16.0);
    text(cr, kLeft, 24, panel.title);
    cairo_set_font_size(cr, 11.0);
    for (size_t i = 0; i < panel.lines.size(); ++i) text(cr, kLeft, 44 + 15.0 * static_cast<double>(i), panel.lines[i]);
}

}  // namespace

void writeComparisonPng(const SpectrumPanel& input, const SpectrumPanel& output, const std::string& path) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 2 * kPanelWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    drawPanel(cr, input, kInputColour, nullptr);
    cairo_translate(cr, kPanelWidth, 0);
    drawPanel(cr, output, kOutputColour, &input.spectrum);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const WindowImage image = imageOfSurface(surface);
    cairo_surface_destroy(surface);
    writePng(image, path);
}
