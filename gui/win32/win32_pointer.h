// Pointer polling for the controls' drag loops: the three buttons (swapped
// when the system swaps them), Shift, Control and Alt from GetAsyncKeyState,
// and the cursor position relative to a window, or in screen coordinates
// when there is none.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "gui/gui_platform.h"

class Win32Pointer : public GuiPointer {
public:
    // window may be null: positions are then screen coordinates. Positions
    // relative to a window are reported in its logical pixels.
    explicit Win32Pointer(HWND window, GuiScale scale = {});

    int32_t buttons() override;
    GuiPoint location() override;

private:
    HWND window;
    GuiScale scale;
};

// GuiMouseButton bits of a button-down message: the message's own button,
// the MK_ bits of its wParam (buttons, Shift, Control) and Alt as the
// thread's input state had it when the message was posted.
int32_t pressButtonsOf(UINT message, WPARAM wParam);

