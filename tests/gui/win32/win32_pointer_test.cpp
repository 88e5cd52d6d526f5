// Pointer polling: positions relative to the window, or to the screen for a
// drawing context without one; no buttons read as held when none are.
#include <gtest/gtest.h>

#include "gui/win32/win32_platform.h"
#include "gui/win32/win32_pointer.h"
#include "gui/gui_press_pointer.h"
#include "win32_test_support.h"

namespace {
class IdleClient : public GuiWindowClient {
public:
    void windowPaint(GuiCanvas&, GuiPointer&, const GuiRect&) override {}
    void windowPress(GuiCanvas&, GuiPointer&, const GuiPoint&) override {}
    void windowDestroyed() override {}
};
}  // namespace

TEST(Win32Pointer, PositionsAreRelativeToTheWindowOrToTheScreenWithoutOne) {
    HostWindow host;
    SetWindowPos(host.handle, nullptr, 40, 30, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    Win32Platform platform;
    IdleClient client;
    auto window = platform.createWindow(host.handle, 484, 286, GuiScale{}, client);
    ASSERT_NE(window, nullptr);
    RECT origin{};
    GetWindowRect(static_cast<HWND>(window->nativeHandle()), &origin);

    ASSERT_TRUE(SetCursorPos(origin.left + 25, origin.top + 17));
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(window->pointer().location(),
              (GuiPoint{cursor.x - origin.left, cursor.y - origin.top}));
    EXPECT_EQ(platform.screenPointer()->location(), (GuiPoint{cursor.x, cursor.y}));
    EXPECT_EQ(window->pointer().buttons() & (kGuiLButton | kGuiMButton | kGuiRButton), 0);
}

namespace {
// A live pointer whose buttons read "up", as after an instant click.
class ReleasedPointer : public GuiPointer {
public:
    int32_t buttons() override { return 0; }
    GuiPoint location() override { return GuiPoint{7, 9}; }
};

// Records what the pointer said while the press was handled.
class PressRecorder : public GuiWindowClient {
public:
    void windowPaint(GuiCanvas&, GuiPointer&, const GuiRect&) override {}
    void windowPress(GuiCanvas&, GuiPointer& pointer, const GuiPoint& where) override {
        buttons = pointer.buttons();
        at = where;
        ++presses;
    }
    void windowDestroyed() override {}
    int32_t buttons = -1;
    GuiPoint at;
    int presses = 0;
};
}  // namespace

TEST(Win32Pointer, APressReportsTheButtonAndModifiersOfItsMessage) {
    const auto buttonsOnly = [](UINT message, WPARAM wParam) {
        return pressButtonsOf(message, wParam) & ~kGuiAlt;  // Alt is the keyboard's state
    };
    EXPECT_EQ(buttonsOnly(WM_LBUTTONDOWN, MK_LBUTTON), kGuiLButton);
    EXPECT_EQ(buttonsOnly(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL), kGuiLButton | kGuiControl);
    EXPECT_EQ(buttonsOnly(WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT), kGuiRButton | kGuiShift);
    EXPECT_EQ(buttonsOnly(WM_MBUTTONDOWN, MK_MBUTTON | MK_LBUTTON), kGuiMButton | kGuiLButton);
    // The message's own button even when wParam says it is already up.
    EXPECT_EQ(buttonsOnly(WM_LBUTTONDOWN, 0), kGuiLButton);
}

TEST(Win32Pointer, APressPointerFollowsTheLiveStateOnceItsLocationIsRead) {
    ReleasedPointer live;
    GuiPressPointer press(live, kGuiLButton | kGuiControl);
    EXPECT_EQ(press.buttons(), kGuiLButton | kGuiControl);
    EXPECT_EQ(press.buttons(), kGuiLButton | kGuiControl);  // asked twice: still the press
    EXPECT_EQ(press.location(), (GuiPoint{7, 9}));
    EXPECT_EQ(press.buttons(), 0);  // a drag loop now sees the release
}

// An instant click: by the time the press message is handled its button is
// already up, so the live state says nothing is held.
TEST(Win32Pointer, APressMessageHandledAfterItsButtonWentUpStillReportsIt) {
    HostWindow host;
    Win32Platform platform;
    PressRecorder client;
    auto window = platform.createWindow(host.handle, 484, 286, GuiScale{}, client);
    ASSERT_NE(window, nullptr);
    auto* handle = static_cast<HWND>(window->nativeHandle());
    ASSERT_EQ(window->pointer().buttons() & (kGuiLButton | kGuiMButton | kGuiRButton), 0);

    SendMessageA(handle, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, MAKELPARAM(30, 40));
    ASSERT_EQ(client.presses, 1);
    EXPECT_EQ(client.buttons & ~kGuiAlt, kGuiLButton | kGuiControl);
    EXPECT_EQ(client.at, (GuiPoint{30, 40}));

    SendMessageA(handle, WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, MAKELPARAM(5, 6));
    ASSERT_EQ(client.presses, 2);
    EXPECT_EQ(client.buttons & ~kGuiAlt, kGuiRButton | kGuiShift);
}
