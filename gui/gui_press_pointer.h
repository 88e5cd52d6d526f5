// The pointer a press is handled with. A press may reach the editor after
// its button is already up again (an instant click, a tap while the host's
// thread was busy, or an X11 press drained at the next idle); until the
// control starts following the live pointer (its first location read), it
// sees the buttons and modifiers the press happened with. Each platform's
// window hands its press to the frame through one of these.
#pragma once

#include <cstdint>

#include "gui_platform.h"

class GuiPressPointer : public GuiPointer {
public:
    GuiPressPointer(GuiPointer& live, int32_t pressButtons) : live(live), pressButtons(pressButtons) {}

    int32_t buttons() override { return following ? live.buttons() : pressButtons; }
    GuiPoint location() override {
        following = true;
        return live.location();
    }

private:
    GuiPointer& live;
    int32_t pressButtons;
    bool following = false;
};
