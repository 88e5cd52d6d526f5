// GuiKnob: the rotary control. Turns mouse drags (linear or circular, with a
// fine mode on Shift and a reset on Ctrl+click), wheel turns and arrow keys
// into a value between its minimum and maximum. Its own drawing (a handle
// line or handle bitmap over a background) serves plain knobs; filmstrip
// knobs derive from it and draw differently.
#pragma once

#include <cstdint>

#include "gui_control.h"

class GuiKnob : public GuiControl {
public:
    GuiKnob(const GuiRect& size, GuiControlListener* listener, int32_t tag, GuiBitmap* background,
            GuiBitmap* handle, const GuiPoint& offset);
    ~GuiKnob() override;

    void draw(GuiDrawContext* context) override;
    // Tracks the mouse until the left button is released.
    void mouse(GuiDrawContext* context, GuiPoint& where) override;
    // Arrow keys step by the wheel increment, a tenth of it with Shift.
    int32_t onKeyDown(GuiKeyCode& key) override;
    bool onWheel(GuiDrawContext* context, const GuiPoint& where, float distance) override;

    virtual void drawHandle(GuiDrawContext* context);                           // 51
    virtual void setStartAngle(float angle);                                    // 52
    virtual float getStartAngle();                                              // 53
    virtual void setRangeAngle(float angle);                                    // 54
    virtual float getRangeAngle();                                              // 55
    // The handle's end for the current value, relative to the top-left.
    virtual void valueToPoint(GuiPoint& point);                                 // 56
    // The value for a point relative to the top-left.
    virtual float valueFromPoint(GuiPoint& point);                              // 57
    virtual void setInsetValue(int32_t inset);                                  // 58
    virtual void setHandleColor(const GuiColor& colour);                        // 59
    virtual void setHandleHighlightColor(const GuiColor& colour);               // 60
    virtual void setHandleBitmap(GuiBitmap* bitmap);                            // 61
    virtual void setZoomFactor(float factor);                                   // 62
    virtual float getZoomFactor();                                              // 63

protected:
    // Recomputes the dead zone and the angle-to-value mapping.
    void compute();
    // The drag loops; both run between beginEdit and endEdit.
    void dragLinear(GuiDrawContext* context, const GuiPoint& where, int32_t buttons);
    void dragCircular(GuiDrawContext* context, const GuiPoint& where);
    void reportChange(GuiDrawContext* context);

    GuiPoint offset;
    GuiColor colorShadowHandle = kGuiWhite;
    GuiColor colorHandle = kGuiGrey;
    GuiBitmap* handleBitmap = nullptr;
    int32_t inset = 3;
    float startAngle = 0.0f;
    float rangeAngle = 0.0f;
    float halfAngle = 0.0f;
    float aCoef = 0.0f;
    float bCoef = 0.0f;
    float radius;
    float zoomFactor = 1.5f;
};
