#include "host/spectrum_plot.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/cairo_image.h"
#include "host/errors.h"
#include "host/png_writer.h"

namespace {

constexpr int kWidth = 1000, kHeight = 520;
constexpr double kLeft = 60, kRight = 20, kTop = 50, kBottom = 40;
constexpr double kTopDb = 0.0, kBottomDb = -160.0;

struct Colour {
    double r, g, b;
};
constexpr Colour kFloorColour{0.62, 0.62, 0.62}, kHarmonicColour{0.10, 0.35, 0.80},
    kAliasColour{0.85, 0.15, 0.10};

double plotX(double hz, double nyquist) { return kLeft + (kWidth - kLeft - kRight) * hz / nyquist; }
double plotY(double db) {
    const double clamped = std::clamp(db, kBottomDb, kTopDb);
    return kTop + (kHeight - kTop - kBottom) * (kTopDb - clamped) / (kTopDb - kBottomDb);
}

void text(cairo_t* cr, double x, double y, const std::string& s) {
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, s.c_str());
}

void drawGrid(cairo_t* cr, double nyquist) {
    cairo_set_line_width(cr, 1.0);
    cairo_set_font_size(cr, 11.0);
    char label[32];
    for (double db = kTopDb; db >= kBottomDb; db -= 20.0) {
        cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
        cairo_move_to(cr, kLeft, plotY(db) + 0.5);
        cairo_line_to(cr, kWidth - kRight, plotY(db) + 0.5);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        std::snprintf(label, sizeof label, "%.0f dB", db);
        text(cr, 8, plotY(db) + 4, label);
    }
    const double step = nyquist > 30000.0 ? 5000.0 : 2000.0;
    for (double hz = 0.0; hz <= nyquist; hz += step) {
        cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
        cairo_move_to(cr, std::floor(plotX(hz, nyquist)) + 0.5, kTop);
        cairo_line_to(cr, std::floor(plotX(hz, nyquist)) + 0.5, kHeight - kBottom);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        std::snprintf(label, sizeof label, "%g kHz", hz / 1000.0);
        text(cr, plotX(hz, nyquist) - 14, kHeight - kBottom + 16, label);
    }
}

// One column per pixel: the floor as a grey area up to its loudest bin there,
// then each kind's loudest bin as a line standing on it, harmonics last.
void drawBins(cairo_t* cr, const ToneSpectrum& s) {
    const double nyquist = s.sampleRate / 2.0;
    const int columns = kWidth - static_cast<int>(kLeft + kRight);
    std::vector<double> loudest[3];
    for (auto& column : loudest) column.assign(columns, kBottomDb - 1.0);
    for (size_t k = 0; k < s.levelDb.size(); ++k) {
        const int c = std::min(columns - 1, static_cast<int>(plotX(k * s.binHz, nyquist) - kLeft));
        double& level = loudest[static_cast<int>(s.kind[k])][c];
        level = std::max(level, s.levelDb[k]);
    }
    const Colour colours[3] = {kFloorColour, kHarmonicColour, kAliasColour};
    const BinKind order[3] = {BinKind::Floor, BinKind::Alias, BinKind::Harmonic};
    for (BinKind kind : order) {
        const int k = static_cast<int>(kind);
        cairo_set_source_rgb(cr, colours[k].r, colours[k].g, colours[k].b);
        for (int c = 0; c < columns; ++c) {
            if (loudest[k][c] < kBottomDb) continue;
            const double base = kind == BinKind::Floor ? kBottomDb : std::min(loudest[0][c], loudest[k][c]);
            cairo_move_to(cr, kLeft + c + 0.5, plotY(base));
            cairo_line_to(cr, kLeft + c + 0.5, plotY(loudest[k][c]));
        }
        cairo_stroke(cr);
    }
}

void drawCaption(cairo_t* cr, const ToneSpectrum& s, const std::string& caption) {
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    cairo_set_font_size(cr, 14.0);
    char ratio[96];
    std::snprintf(ratio, sizeof ratio, "alias / harmonic power: %.1f dB", s.aliasToHarmonicDb());
    text(cr, kLeft, 22, caption);
    text(cr, kLeft, 40, ratio);
    cairo_set_font_size(cr, 12.0);
    const Colour legend[2] = {kHarmonicColour, kAliasColour};
    const char* names[2] = {"harmonics", "aliases"};
    for (int i = 0; i < 2; ++i) {
        const double x = kWidth - kRight - 200 + 100 * i;
        cairo_set_source_rgb(cr, legend[i].r, legend[i].g, legend[i].b);
        cairo_rectangle(cr, x, 30, 12, 12);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
        text(cr, x + 16, 40, names[i]);
    }
}

}  // namespace

void writeSpectrumPng(const ToneSpectrum& spectrum, const std::string& caption, const std::string& path) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    drawGrid(cr, spectrum.sampleRate / 2.0);
    drawBins(cr, spectrum);
    drawCaption(cr, spectrum, caption);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const WindowImage image = imageOfSurface(surface);
    cairo_surface_destroy(surface);
    writePng(image, path);
}
