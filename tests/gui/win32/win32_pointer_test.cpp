// Pointer polling: positions relative to the window, or to the screen for a
// drawing context without one; no buttons read as held when none are.
#include <gtest/gtest.h>

#include "gui/win32/win32_platform.h"
#include "gui/win32/win32_pointer.h"
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
    SetWindowPos(host.handle, nullptr, 40, 30, 600, 400, SWP_NOZORDER);
    Win32Platform platform;
    IdleClient client;
    auto window = platform.createWindow(host.handle, 484, 286, client);
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
