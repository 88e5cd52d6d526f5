#include "gui_param_display.h"

#include "gui_draw_context.h"
#include "gui_value_format.h"

GuiParamDisplay::GuiParamDisplay(const GuiRect& rect, GuiBitmap* bitmap, int32_t displayStyle)
    : GuiControl(rect, nullptr, 0, bitmap), style(displayStyle) {
    if (style & kGuiNoDrawStyle) setDirty(false);
}

void GuiParamDisplay::makeText(char (&text)[kGuiDisplayTextSize]) const {
    text[0] = '\0';
    const float shown = value;
    const GuiTextConverter converter = textConverter;  // read once: another thread may switch it
    if (textConverterWithData) {
        textConverterWithData(shown, text, userData);
    } else if (converter) {
        converter(shown, text);
    } else {
        formatFixed2(shown, text, sizeof text);
    }
    text[kGuiDisplayTextSize - 1] = '\0';  // a converter that overran must not run us off
}

void GuiParamDisplay::draw(GuiDrawContext* context) {
    char text[kGuiDisplayTextSize];
    makeText(text);
    setDirty(false);
    if ((style & kGuiNoDrawStyle) || !context) return;

    const bool bevelled = (style & (kGui3DIn | kGui3DOut)) != 0;
    if (background) {
        drawBackground(context, size, backOffset);
    } else if (!getTransparency()) {
        context->setFillColor(backColor);
        context->fillRect(size);
        if (!bevelled) {
            context->setFrameColor(frameColor);
            context->drawRect(size);
        }
    }

    if (bevelled) {
        const bool in = (style & kGui3DIn) != 0;
        context->setFrameColor(in ? backColor : frameColor);
        context->moveTo(GuiPoint{size.left, size.bottom});
        context->lineTo(GuiPoint{size.left, size.top});
        context->lineTo(GuiPoint{size.right + 1, size.top});
        context->setFrameColor(in ? frameColor : backColor);
        context->moveTo(GuiPoint{size.right, size.top + 1});
        context->lineTo(GuiPoint{size.right, size.bottom});
        context->lineTo(GuiPoint{size.left, size.bottom});
    }

    if (style & kGuiNoTextStyle) return;

    context->setFont(fontId, 0, textFace);
    if (style & kGuiShadowText) {
        GuiRect shadow = size;
        shadow.offset(1, 1);
        context->setFontColor(shadowColor);
        context->drawString(text, shadow, !textTransparent, horiAlign);
    }
    context->setFontColor(fontColor);
    context->drawString(text, size, !textTransparent, horiAlign);
}

void GuiParamDisplay::setFont(int32_t fontIndex) {
    if (fontId != fontIndex) setDirty(true);
    fontId = fontIndex;
}

void GuiParamDisplay::setFontColor(const GuiColor& colour) {
    if (!fontColor.sameRgb(colour)) setDirty(true);
    fontColor = colour;
}

void GuiParamDisplay::setBackColor(const GuiColor& colour) {
    if (!backColor.sameRgb(colour)) setDirty(true);
    backColor = colour;
}

void GuiParamDisplay::setFrameColor(const GuiColor& colour) {
    if (!frameColor.sameRgb(colour)) setDirty(true);
    frameColor = colour;
}

void GuiParamDisplay::setShadowColor(const GuiColor& colour) {
    if (!shadowColor.sameRgb(colour)) setDirty(true);
    shadowColor = colour;
}

void GuiParamDisplay::setHoriAlign(int32_t align) {
    if (horiAlign != align) setDirty(true);
    horiAlign = align;
}

void GuiParamDisplay::setTextConverterWithData(GuiTextConverterWithData converter, void* data) {
    textConverterWithData = converter;
    userData = data;
}

void GuiParamDisplay::setTextConverter(GuiTextConverter converter) { textConverter = converter; }

void GuiParamDisplay::setTextToValueConverter(GuiTextToValueConverter converter) {
    textToValue = converter;
}

void GuiParamDisplay::setStyle(int32_t newStyle) {
    if (style != newStyle) setDirty(true);
    style = newStyle;
}

void GuiParamDisplay::setTextFace(int32_t face) {
    if (textFace != face) setDirty(true);
    textFace = face;
}

void GuiParamDisplay::setTextTransparency(bool transparent) { textTransparent = transparent; }
