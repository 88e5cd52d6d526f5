// What an editor needs from the plug-in it belongs to, whatever the format:
// bracket a gesture, send the user's value, read the value to show. Each
// format supplies its own side (the VST 2 effect, or an LV2 UI's ports).
#pragma once

#include <cstdint>

class ParameterLink {
public:
    virtual ~ParameterLink() = default;

    virtual void beginEdit(int32_t index) = 0;
    // The user moved a control: the value reaches the plug-in and its host,
    // and comes back to the editor as a parameter change.
    virtual void setValue(int32_t index, float value) = 0;
    virtual void endEdit(int32_t index) = 0;
    // The value the plug-in holds now, which the editor shows.
    virtual float currentValue(int32_t index) = 0;
    // Lets the host run its own idle work while a control tracks the mouse.
    virtual void hostIdle() {}
};
