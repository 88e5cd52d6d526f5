// The toolkit's drawing primitives on a cairo surface: the window's surface
// for painting, an image surface for screenshots and tests. Lines and fills
// land on whole pixels the way a classic device context draws them; texts go
// through cairo's font selection, so "Arial" resolves through fontconfig.
#pragma once

#include <cairo.h>

#include "gui/gui_platform.h"

class CairoCanvas : public GuiCanvas {
public:
    // Draws on target (a reference is held while the canvas lives); at a
    // scale step, cairo's transform turns logical pixels into device pixels.
    explicit CairoCanvas(cairo_surface_t* target, GuiScale scale = {});
    ~CairoCanvas() override;

    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    void setPen(const GuiColor& colour, int32_t width, int32_t style) override;
    void setBrush(const GuiColor& colour) override;
    void setTextColor(const GuiColor& colour) override;
    void setFont(const GuiFontChoice& font) override;

    void moveTo(const GuiPoint& p) override;
    void lineTo(const GuiPoint& p) override;
    void fillRect(const GuiRect& r) override;
    void polyline(const GuiPoint* points, int32_t count) override;
    void fillPolygon(const GuiPoint* points, int32_t count) override;
    void drawText(const char* text, const GuiRect& r, int32_t align, bool opaque) override;

    void blit(const GuiBitmapImage& image, const GuiRect& dest, const GuiPoint& src) override;
    void blitKeyed(const GuiBitmapImage& image, const GuiRect& dest, const GuiPoint& src,
                   const GuiColor& key) override;

    // Ends drawing and pushes it to the surface; the canvas draws nothing after.
    void finish();

    cairo_t* context() const { return cr; }

private:
    void fillPixels(double x, double y, double w, double h, const GuiColor& colour);
    void paintSurface(cairo_surface_t* source, const GuiRect& dest, const GuiPoint& src);
    void applyFont();
    // The points as a device-pixel path outside the transform, the way GDI
    // gets them; centred on pixels when `centred`.
    void devicePath(const GuiPoint* points, int32_t count, bool centred);

    cairo_surface_t* target;
    cairo_t* cr;
    GuiScale scale;
    GuiColor pen = kGuiWhite;
    int32_t penWidth = 1;
    int32_t penStyle = kGuiLineSolid;
    GuiColor brush = kGuiBlack;
    GuiColor text = kGuiWhite;
    GuiFontChoice font;
    GuiPoint current;
};
