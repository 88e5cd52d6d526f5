// Small value types shared by every part of the toolkit: rectangles and points
// in window pixels, colours, and the bits that describe buttons and modifiers.
#pragma once

#include <cstdint>

struct GuiPoint {
    int32_t h = 0;
    int32_t v = 0;

    GuiPoint& offset(int32_t dh, int32_t dv) {
        h += dh;
        v += dv;
        return *this;
    }
    friend bool operator==(const GuiPoint&, const GuiPoint&) = default;
};

// Left and top belong to the rectangle; whether right and bottom do depends on
// the operation (hit tests include them, fills stop before them).
struct GuiRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }

    GuiRect& offset(int32_t dh, int32_t dv) {
        left += dh;
        right += dh;
        top += dv;
        bottom += dv;
        return *this;
    }
    // Moves the top-left corner to (h, v), keeping the size.
    GuiRect& moveTo(int32_t h, int32_t v) { return offset(h - left, v - top); }

    // Borders included on all four sides.
    bool contains(const GuiPoint& p) const {
        return p.h >= left && p.h <= right && p.v >= top && p.v <= bottom;
    }
    friend bool operator==(const GuiRect&, const GuiRect&) = default;
};

// The fourth byte travels with the colour but drawing never reads it.
struct GuiColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t unused = 0;

    bool sameRgb(const GuiColor& other) const {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

inline constexpr GuiColor kGuiTransparentColor{255, 255, 255, 0};
inline constexpr GuiColor kGuiWhite{255, 255, 255, 0};
inline constexpr GuiColor kGuiGrey{127, 127, 127, 0};
inline constexpr GuiColor kGuiRed{255, 0, 0, 0};
inline constexpr GuiColor kGuiGreen{0, 255, 0, 0};
inline constexpr GuiColor kGuiBlue{0, 0, 255, 0};
inline constexpr GuiColor kGuiYellow{255, 255, 0, 0};
inline constexpr GuiColor kGuiMagenta{255, 0, 255, 0};
inline constexpr GuiColor kGuiCyan{0, 255, 255, 0};
inline constexpr GuiColor kGuiBlack{0, 0, 0, 0};

// Bits of GuiDrawContext::getMouseButtons.
enum GuiMouseButton : int32_t {
    kGuiLButton = 1,
    kGuiMButton = 2,
    kGuiRButton = 4,
    kGuiShift = 8,
    kGuiControl = 16,
    kGuiAlt = 32,
};

// Horizontal text alignment as drawString and GuiParamDisplay take it.
enum GuiTextAlign : int32_t {
    kGuiLeftText = 0,
    kGuiCenterText = 1,
    kGuiRightText = 2,
};

// Text face bits.
enum GuiTextFace : int32_t {
    kGuiNormalFace = 0,
    kGuiBoldFace = 1,
    kGuiItalicFace = 2,
    kGuiUnderlineFace = 4,
};

enum GuiLineStyle : int32_t {
    kGuiLineSolid = 0,
    kGuiLineOnOffDash = 1,
};

// What onDrop hands over.
enum GuiDropType : int32_t {
    kGuiDropFiles = 0,
    kGuiDropText = 1,
};

// Knob drag modes; every mode other than linear drags in a circle.
enum GuiKnobMode : int32_t {
    kGuiCircularMode = 0,
    kGuiRelativeCircularMode = 1,
    kGuiLinearMode = 2,
};

// A key a host forwarded: its character, or a virtual key and the modifiers
// held. The codes are the ones hosts hand over, so no translation is needed.
struct GuiKeyCode {
    int32_t character;
    unsigned char virt;
    unsigned char modifier;
};

enum GuiVirtualKey : unsigned char {
    kGuiKeyLeft = 11,
    kGuiKeyUp = 12,
    kGuiKeyRight = 13,
    kGuiKeyDown = 14,
};

enum GuiModifierKey : unsigned char {
    kGuiModifierShift = 1,
    kGuiModifierAlternate = 2,
    kGuiModifierCommand = 4,
    kGuiModifierControl = 8,
};
