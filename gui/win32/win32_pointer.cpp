#include "win32_pointer.h"

#include "win32_window_class.h"

namespace {
bool keyDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }
}  // namespace

Win32Pointer::Win32Pointer(HWND owner, GuiScale scaleStep) : window(owner), scale(scaleStep) {}

int32_t Win32Pointer::buttons() {
    int32_t bits = 0;
    const bool swapped = mouseButtonsSwapped();
    if (keyDown(VK_LBUTTON)) bits |= swapped ? kGuiRButton : kGuiLButton;
    if (keyDown(VK_MBUTTON)) bits |= kGuiMButton;
    if (keyDown(VK_RBUTTON)) bits |= swapped ? kGuiLButton : kGuiRButton;
    if (keyDown(VK_SHIFT)) bits |= kGuiShift;
    if (keyDown(VK_CONTROL)) bits |= kGuiControl;
    if (keyDown(VK_MENU)) bits |= kGuiAlt;
    return bits;
}

GuiPoint Win32Pointer::location() {
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT origin{};
    if (window) GetWindowRect(window, &origin);
    return scale.toLogical(GuiPoint{cursor.x - origin.left, cursor.y - origin.top});
}

int32_t pressButtonsOf(UINT message, WPARAM wParam) {
    int32_t bits = 0;
    // Messages and MK_ bits name the logical buttons: swapping is applied.
    switch (message) {
        case WM_LBUTTONDOWN: bits |= kGuiLButton; break;
        case WM_MBUTTONDOWN: bits |= kGuiMButton; break;
        case WM_RBUTTONDOWN: bits |= kGuiRButton; break;
        default: break;
    }
    if (wParam & MK_LBUTTON) bits |= kGuiLButton;
    if (wParam & MK_MBUTTON) bits |= kGuiMButton;
    if (wParam & MK_RBUTTON) bits |= kGuiRButton;
    if (wParam & MK_SHIFT) bits |= kGuiShift;
    if (wParam & MK_CONTROL) bits |= kGuiControl;
    if (GetKeyState(VK_MENU) & 0x8000) bits |= kGuiAlt;
    return bits;
}
