// Pointer polling on the editor's own display connection: buttons, Shift,
// Control and Alt (Mod1) and the position relative to the window, as the
// controls' drag loops read them.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

#include "gui/gui_platform.h"
#include "x11_error_trap.h"

// GuiMouseButton bits of an X button/modifier state mask.
int32_t guiButtonsFromState(unsigned int state);
// The state mask bit of button 1..3 (0 for others).
unsigned int stateMaskOfButton(unsigned int button);

class X11Pointer : public GuiPointer {
public:
    // dead is the window's flag: once it is set the pointer reads as released.
    // Positions are read in device pixels and reported in logical ones.
    X11Pointer(Display* display, Window window, GuiScale scale, X11ErrorLog& log, const bool& dead);

    int32_t buttons() override;
    GuiPoint location() override;

private:
    bool query(unsigned int& mask, GuiPoint& where);

    Display* display;
    Window window;
    GuiScale scale;
    X11ErrorLog& log;
    const bool& dead;
    GuiPoint lastKnown;
};

