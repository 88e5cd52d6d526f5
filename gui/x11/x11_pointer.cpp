#include "x11_pointer.h"

#include "gui/gui_types.h"

int32_t guiButtonsFromState(unsigned int state) {
    int32_t buttons = 0;
    if (state & Button1Mask) buttons |= kGuiLButton;
    if (state & Button2Mask) buttons |= kGuiMButton;
    if (state & Button3Mask) buttons |= kGuiRButton;
    if (state & ShiftMask) buttons |= kGuiShift;
    if (state & ControlMask) buttons |= kGuiControl;
    if (state & Mod1Mask) buttons |= kGuiAlt;
    return buttons;
}

unsigned int stateMaskOfButton(unsigned int button) {
    switch (button) {
        case Button1: return Button1Mask;
        case Button2: return Button2Mask;
        case Button3: return Button3Mask;
        default: return 0;
    }
}

X11Pointer::X11Pointer(Display* d, Window w, GuiScale scaleStep, X11ErrorLog& errors, const bool& windowDead)
    : display(d), window(w), scale(scaleStep), log(errors), dead(windowDead) {}

bool X11Pointer::query(unsigned int& mask, GuiPoint& where) {
    if (dead) return false;
    X11ErrorTrap trap(display, log);
    Window root = 0;
    Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int winX = 0;
    int winY = 0;
    mask = 0;
    // False also when the pointer is on another screen; the mask still holds.
    const Bool sameScreen =
        XQueryPointer(display, window, &root, &child, &rootX, &rootY, &winX, &winY, &mask);
    if (root == 0) return false;  // the request failed (window gone)
    if (sameScreen) {
        where = scale.toLogical(GuiPoint{winX, winY});
        lastKnown = where;
    } else {
        where = lastKnown;
    }
    return true;
}

int32_t X11Pointer::buttons() {
    unsigned int mask = 0;
    GuiPoint where;
    return query(mask, where) ? guiButtonsFromState(mask) : 0;
}

GuiPoint X11Pointer::location() {
    unsigned int mask = 0;
    GuiPoint where = lastKnown;
    query(mask, where);
    return where;
}
