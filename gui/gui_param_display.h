// GuiParamDisplay: a control that shows its value as one line of text made by
// a text converter (or "%2.2f" without one), over a bitmap or a filled box,
// optionally bevelled and with a shadow.
#pragma once

#include <cstdint>

#include "gui_control.h"

using GuiTextConverter = void (*)(float value, char* text);
using GuiTextConverterWithData = void (*)(float value, char* text, void* userData);
using GuiTextToValueConverter = bool (*)(const char* text, float& value, void* userData);

// Style bits.
enum GuiDisplayStyle : int32_t {
    kGuiShadowText = 0x4,
    kGui3DIn = 0x80,
    kGui3DOut = 0x100,
    kGuiNoTextStyle = 0x800,
    kGuiNoDrawStyle = 0x1000,
};

inline constexpr int32_t kGuiDisplayTextSize = 256;

class GuiParamDisplay : public GuiControl {
public:
    GuiParamDisplay(const GuiRect& size, GuiBitmap* background = nullptr, int32_t style = 0);

    void draw(GuiDrawContext* context) override;

    virtual void setFont(int32_t fontIndex);                                    // 51
    virtual void setFontColor(const GuiColor& colour);                          // 52
    virtual void setBackColor(const GuiColor& colour);                          // 53
    virtual void setFrameColor(const GuiColor& colour);                         // 54
    virtual void setShadowColor(const GuiColor& colour);                        // 55
    virtual void setHoriAlign(int32_t align);                                   // 56
    virtual void setTextConverterWithData(GuiTextConverterWithData converter,
                                          void* userData);                      // 57
    virtual void setTextConverter(GuiTextConverter converter);                  // 58
    virtual void setTextToValueConverter(GuiTextToValueConverter converter);    // 59
    virtual void setStyle(int32_t newStyle);                                    // 60
    virtual void setTextFace(int32_t face);                                     // 61
    virtual void setTextTransparency(bool transparent);                         // 62

    // The text draw() shows for the current value.
    void makeText(char (&text)[kGuiDisplayTextSize]) const;

    int32_t getFont() const { return fontId; }
    GuiColor getFontColor() const { return fontColor; }
    GuiColor getBackColor() const { return backColor; }
    GuiColor getFrameColor() const { return frameColor; }
    GuiColor getShadowColor() const { return shadowColor; }
    int32_t getHoriAlign() const { return horiAlign; }
    int32_t getStyle() const { return style; }
    int32_t getTextFace() const { return textFace; }
    bool getTextTransparency() const { return textTransparent; }
    GuiTextToValueConverter getTextToValueConverter() const { return textToValue; }

protected:
    // Switched by the editor from whichever thread changes a parameter.
    RelaxedAtomic<GuiTextConverter> textConverter{nullptr};
    GuiTextConverterWithData textConverterWithData = nullptr;
    GuiTextToValueConverter textToValue = nullptr;
    void* userData = nullptr;
    int32_t horiAlign = kGuiCenterText;
    int32_t style;
    int32_t fontId = 3;
    int32_t textFace = kGuiNormalFace;
    GuiColor fontColor = kGuiWhite;
    GuiColor backColor = kGuiBlack;
    GuiColor frameColor = kGuiBlack;
    GuiColor shadowColor = kGuiRed;
    bool textTransparent = true;
};
