// The toolkit's drawing primitives on a Windows device context: its own pen,
// brush and font, created anew on every change, and the objects the device
// context had before selected back when the canvas goes.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "gui/gui_platform.h"

COLORREF colorRef(const GuiColor& colour);

// Whether a font request is kept as the system answered it: the selected
// face is the one asked for (compared without case) or a TrueType face.
// Otherwise (a raster font, as Wine without Arial gives for the swiss
// family) the canvas asks once more with TrueType precision.
bool keepsFirstFontChoice(const char* selectedFace, const char* requestedFace, bool trueType);

class GdiCanvas : public GuiCanvas {
public:
    // Draws on dc, which must outlive the canvas; with releaseTo, dc came
    // from GetDC on that window and is released after the canvas has put
    // back the objects it found.
    // At a scale step every coordinate, pen and font is scaled here (GDI has
    // no transform of its own that keeps text sharp), and bitmaps loaded at
    // the step are copied one to one.
    explicit GdiCanvas(HDC dc, HWND releaseTo = nullptr, GuiScale scale = {});
    ~GdiCanvas() override;

    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

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

    HDC deviceContext() const { return dc; }

private:
    // Selects replacement into the device context and deletes the previous
    // own object only afterwards (one must always be selected).
    void replace(HGDIOBJ& own, HGDIOBJ replacement);
    // Whether the face the system selects for font is the one asked for or
    // a TrueType one (not a raster font).
    bool selectsTrueTypeOrRequested(HFONT font, const char* requestedFace);

    HDC dc;
    HWND releaseTo;
    GuiScale scale;
    HGDIOBJ savedBrush;
    HGDIOBJ savedPen;
    HGDIOBJ savedFont;
    HGDIOBJ ownBrush = nullptr;
    HGDIOBJ ownPen = nullptr;
    HGDIOBJ ownFont = nullptr;
};
