// GuiControl: a view with a normalised value, a tag (the parameter index) and
// a listener told about every change the user makes. Dirtiness follows from
// the value: a control is dirty while its value differs from the value it
// last drew.
#pragma once

#include <cstdint>

#include "gui_view.h"
#include "core/relaxed_atomic.h"

class GuiBitmap;
class GuiControl;

class GuiControlListener {
public:
    // context may be null (keyboard input has no drawing context).
    virtual void valueChanged(GuiDrawContext* context, GuiControl* control) = 0;

protected:
    ~GuiControlListener() = default;
};

class GuiControl : public GuiView {
public:
    // Adds a reference to the background bitmap when one is given.
    GuiControl(const GuiRect& size, GuiControlListener* listener, int32_t tag,
               GuiBitmap* background = nullptr);
    ~GuiControl() override;

    void draw(GuiDrawContext* context) override = 0;
    bool isDirty() override;
    // Clean: the value counts as drawn. Dirty: the drawn value is forced to
    // differ from the value.
    void setDirty(bool state = true) override;

    virtual void idleDuringDrag();                                              // 32
    // Stored as given: no clamping; the next idle pass repaints if it differs.
    virtual void setValue(float newValue);                                      // 33
    virtual float getValue();                                                   // 34
    virtual void setMin(float minimum);                                         // 35
    virtual float getMin();                                                     // 36
    virtual void setMax(float maximum);                                         // 37
    virtual float getMax();                                                     // 38
    virtual void setOldValue(float old);                                        // 39
    virtual float getOldValue();                                                // 40
    virtual void setDefaultValue(float value);                                  // 41
    virtual float getDefaultValue();                                            // 42
    virtual void setTag(int32_t newTag);                                        // 43
    virtual void setBackground(GuiBitmap* bitmap);                              // 44
    virtual GuiBitmap* getBackground();                                         // 45
    virtual void setBackgroundOffset(const GuiPoint& offset);                   // 46
    virtual void copyBackgroundOffset();                                        // 47
    virtual void setWheelIncrement(float increment);                            // 48
    virtual float getWheelIncrement();                                          // 49
    // Above the maximum: maximum; below the minimum or not comparable: minimum.
    virtual void clampValue();                                                  // 50

    int32_t getTag() const { return tag; }
    GuiControlListener* getListener() const { return listener; }
    void setListener(GuiControlListener* newListener) { listener = newListener; }

protected:
    // Draws the background bitmap from source into dest, keyed when the
    // transparent flag is set.
    void drawBackground(GuiDrawContext* context, const GuiRect& dest, const GuiPoint& source);

    GuiControlListener* listener;
    int32_t tag;
    float oldValue = 1.0f;
    float defaultValue = 0.5f;
    // Set by the effect from whichever thread changes a parameter.
    RelaxedAtomic<float> value{0.0f};
    float vmin = 0.0f;
    float vmax = 1.0f;
    float wheelInc = 0.1f;
    GuiBitmap* background = nullptr;
    GuiPoint backOffset;
};
