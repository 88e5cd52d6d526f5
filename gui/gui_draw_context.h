// GuiDrawContext: the state of one drawing or one mouse action (colours, line
// style, font) on a platform canvas, plus the pointer polling the controls'
// drag loops use. Made for one paint, one press (with its whole drag), one
// idle repaint or one wheel turn, then deleted.
#pragma once

#include <cstdint>

#include "gui_platform.h"
#include "gui_types.h"

class GuiFrame;

inline constexpr int32_t kGuiFontCount = 8;

// The font table: face and height in pixels by index.
struct GuiFontEntry {
    const char* face;
    int32_t height;
};
const GuiFontEntry& guiFontEntry(int32_t index);  // index outside 0..7 means 0

class GuiDrawContext {
public:
    // canvas and pointer may be null: drawing then does nothing and the
    // pointer reads as no buttons at (0, 0). Neither is owned.
    GuiDrawContext(GuiFrame* frame, GuiCanvas* canvas, GuiPointer* pointer);
    virtual ~GuiDrawContext() = default;

    GuiDrawContext(const GuiDrawContext&) = delete;
    GuiDrawContext& operator=(const GuiDrawContext&) = delete;

    void moveTo(const GuiPoint& p);
    void lineTo(const GuiPoint& p);
    // Outline left-top, right-top, right-bottom, left-bottom, back to left-top.
    void drawRect(const GuiRect& r);
    // Fills from (left + 1, top + 1) up to (right, bottom): the left column
    // and top row belong to an outline drawn with drawRect.
    void fillRect(const GuiRect& r);
    // Lines through the points with the frame colour and line width, and a
    // polygon filled with the fill colour; at most kGuiMaxPathPoints points
    // are used.
    void polyline(const GuiPoint* points, int32_t count);
    void fillPolygon(const GuiPoint* points, int32_t count);

    void setFrameColor(const GuiColor& colour);
    GuiColor getFrameColor() const { return frameColor; }
    void setLineStyle(int32_t style);
    int32_t getLineStyle() const { return lineStyle; }
    void setLineWidth(int32_t width);
    int32_t getLineWidth() const { return frameWidth; }
    void setFillColor(const GuiColor& colour);
    GuiColor getFillColor() const { return fillColor; }
    void setFontColor(const GuiColor& colour);
    GuiColor getFontColor() const { return fontColor; }
    // size 0 takes the table's size; face is a set of GuiTextFace bits.
    void setFont(int32_t index, int32_t size = 0, int32_t face = kGuiNormalFace);
    int32_t getFont() const { return fontIndex; }
    int32_t getFontSize() const { return fontSize; }

    // Nothing for null text; align is a GuiTextAlign (left text starts one
    // pixel in from the rectangle's left edge).
    void drawString(const char* text, const GuiRect& r, bool opaque = false,
                    int32_t align = kGuiCenterText);

    int32_t getMouseButtons();
    void getMouseLocation(GuiPoint& where);

    void setDrawOffset(const GuiPoint& p) { offset = p; }
    GuiPoint getDrawOffset() const { return offset; }
    GuiRect getClipRect() const { return clipRect; }

    GuiCanvas* getCanvas() const { return canvas; }
    GuiFrame* getFrame() const { return frame; }

private:
    GuiPoint at(const GuiPoint& p) const { return GuiPoint{p.h + offset.h, p.v + offset.v}; }
    // The points moved by the offset into `moved`; how many were taken.
    int32_t offsetPoints(const GuiPoint* points, int32_t count, GuiPoint* moved) const;
    void applyPen();

    GuiPoint offset;
    GuiCanvas* canvas;
    GuiPointer* pointer;
    GuiFrame* frame;
    int32_t fontSize = 0;
    int32_t fontIndex = 0;
    GuiColor fontColor = kGuiWhite;
    int32_t frameWidth = 1;
    GuiColor frameColor = kGuiWhite;
    GuiColor fillColor = kGuiBlack;
    int32_t lineStyle = kGuiLineSolid;
    GuiRect clipRect;
};
