#include "win32_pointer.h"

#include "win32_window_class.h"

namespace {
bool keyDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }
}  // namespace

Win32Pointer::Win32Pointer(HWND owner) : window(owner) {}

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
    return GuiPoint{cursor.x - origin.left, cursor.y - origin.top};
}
