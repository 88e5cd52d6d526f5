// The whole editor in a real parent window, opened and closed many times in
// one process: every GDI object the canvas and the bitmaps create is deleted
// again, handles and memory stay flat, and the window class goes with the
// last window.
#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <psapi.h>

#include <string>

#include "gui/gui_editor_base.h"
#include "gui/gui_frame.h"
#include "gui/win32/gdi_canvas.h"
#include "gui/win32/gdi_objects.h"
#include "gui/win32/keyed_blit.h"
#include "gui/win32/win32_platform.h"
#include "gui/win32/win32_window_class.h"
#include "host_recorder.h"
#include "vst2/distortion_effect.h"
#include "vst2/plugin_base.h"
#include "win32_test_support.h"

namespace {

bool classRegistered() { return windowClassRegistered(win32ModuleHandle()); }

SIZE_T privateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    GetProcessMemoryInfo(GetCurrentProcess(),
                         reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return counters.PrivateUsage;
}

DWORD handleCount() {
    DWORD count = 0;
    GetProcessHandleCount(GetCurrentProcess(), &count);
    return count;
}

VstIntPtr call(AEffect* effect, int32_t opcode, VstIntPtr value = 0, void* ptr = nullptr) {
    return effect->dispatcher(effect, opcode, 0, value, ptr, 0.0f);
}

}  // namespace

TEST(EditorCycles, TwoHundredOpenAndCloseCyclesLeaveNothingBehind) {
    HostWindow host;
    ASSERT_NE(host.handle, nullptr);
    auto* effect = new DistortionEffect(recordingHost);
    AEffect* record = effect->getAeffect();
    auto* editor = static_cast<GuiEditorBase*>(effect->getEditorObject());
    const int32_t gdiBefore = liveGdiObjectCount();
    int32_t gdiWhileOpen = 0;
    bool paintedEveryTime = true;

    const auto cycle = [&] {
        ASSERT_EQ(call(record, effEditOpen, 0, host.handle), 1);
        RedrawWindow(host.handle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        pumpMessages();
        paintedEveryTime = paintedEveryTime && editor->getFrame() && editor->getFrame()->hasPainted();
        record->setParameter(record, 9, 0.3f);
        call(record, effEditIdle);  // repaints the Gain1 knob and the display
        gdiWhileOpen = liveGdiObjectCount();
        call(record, effEditClose);
        pumpMessages();
    };
    for (int i = 0; i < 20; ++i) cycle();  // what the system caches on first use
    const DWORD handlesBefore = handleCount();
    const SIZE_T bytesBefore = privateBytes();
    for (int i = 0; i < 180; ++i) cycle();

    EXPECT_TRUE(paintedEveryTime);
    EXPECT_GE(gdiWhileOpen, gdiBefore + 8);  // the eight bitmaps at least
    EXPECT_EQ(liveGdiObjectCount(), gdiBefore);
    EXPECT_LE(handleCount(), handlesBefore + 5);
    EXPECT_LE(privateBytes(), bytesBefore + 1024 * 1024);
    EXPECT_FALSE(classRegistered());
    EXPECT_EQ(call(record, effClose), 1);
}

TEST(EditorCycles, WindowMessagesReachTheFrameAndIdleWaitsForTheFirstPaint) {
    HostWindow host;
    DistortionEffect effect(recordingHost);
    auto* editor = static_cast<GuiEditorBase*>(effect.getEditorObject());
    ASSERT_EQ(editor->open(host.handle), 1);
    GuiFrame* frame = editor->getFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(classRegistered());
    EXPECT_TRUE(transparentBltAvailable());  // msimg32.dll loaded for the window's lifetime
    // Nothing painted before the window's first paint message.
    effect.setParameter(10, 0.9f);
    const int32_t objects = liveGdiObjectCount();
    editor->idle();
    EXPECT_FALSE(frame->hasPainted());
    EXPECT_EQ(liveGdiObjectCount(), objects);

    RedrawWindow(host.handle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_TRUE(frame->hasPainted());
    EXPECT_TRUE(frame->isOpen());

    // The drag-time pump dispatches a pending paint.
    auto* window = static_cast<HWND>(frame->getWindow()->nativeHandle());
    InvalidateRect(window, nullptr, FALSE);
    frame->processPendingPaint();
    RECT stillDamaged{};
    EXPECT_FALSE(GetUpdateRect(window, &stillDamaged, FALSE));

    // The host destroys its window with ours inside: the frame stops drawing.
    DestroyWindow(host.handle);
    host.handle = nullptr;
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getParentWindow(), nullptr);
    editor->idle();
    editor->close();
    EXPECT_FALSE(classRegistered());
    EXPECT_FALSE(transparentBltAvailable());
}

TEST(EditorCycles, TheWindowShowsWhatTheFrameDrawsOffscreen) {
    HostWindow host;
    DistortionEffect effect(recordingHost);
    effect.setParameter(9, 0.75f);
    effect.setParameter(3, 1.0f);
    auto* editor = static_cast<GuiEditorBase*>(effect.getEditorObject());
    ASSERT_EQ(editor->open(host.handle), 1);
    GuiFrame* frame = editor->getFrame();
    auto* window = static_cast<HWND>(frame->getWindow()->nativeHandle());
    RedrawWindow(host.handle, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpMessages();

    PixelSurface onScreen(484, 286);
    HDC windowDc = GetDC(window);
    BitBlt(onScreen.deviceContext(), 0, 0, 484, 286, windowDc, 0, 0, SRCCOPY);
    ReleaseDC(window, windowDc);

    PixelSurface offscreen(484, 286);
    {
        GdiCanvas canvas(offscreen.deviceContext());
        frame->drawInto(canvas);
    }
    const auto shown = onScreen.pixels();
    const auto drawn = offscreen.pixels();
    int differing = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) differing += shown[i] != drawn[i];
    EXPECT_EQ(differing, 0);

    // And the background really is the panel bitmap where no control lies.
    PixelSurface panel(484, 286);
    HBITMAP background = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1001));
    HDC source = CreateCompatibleDC(panel.deviceContext());
    HGDIOBJ previous = SelectObject(source, background);
    BitBlt(panel.deviceContext(), 0, 0, 484, 286, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(background);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 40; ++x) EXPECT_EQ(onScreen.at(x, y), panel.at(x, y)) << x << "," << y;
    }
    editor->close();
}

// "Plugin%08x" of a 64-bit handle kept only its low half, so two modules
// loaded 4 GB apart registered one class name between them.
TEST(WindowClassName, KeepsTheWholeModuleHandle) {
    char low[kWindowClassNameBytes];
    char high[kWindowClassNameBytes];
#if defined(_WIN64)
    formatWindowClassName(reinterpret_cast<void*>(uintptr_t{0x30820000}), low);
    formatWindowClassName(reinterpret_cast<void*>(uintptr_t{0x330820000}), high);
    EXPECT_STREQ(low, "Plugin0000000030820000");
    EXPECT_STREQ(high, "Plugin0000000330820000");
    EXPECT_STRNE(low, high);
    formatWindowClassName(reinterpret_cast<void*>(uintptr_t{0xFEDCBA9876543210}), high);
    EXPECT_STREQ(high, "Pluginfedcba9876543210");
#else
    // 32-bit builds name their class exactly as before.
    formatWindowClassName(reinterpret_cast<void*>(uintptr_t{0x10000000}), low);
    EXPECT_STREQ(low, "Plugin10000000");
    formatWindowClassName(reinterpret_cast<void*>(uintptr_t{0x6FC40000}), high);
    EXPECT_STREQ(high, "Plugin6fc40000");
#endif
    EXPECT_EQ(windowClassName(), windowClassNameOf(static_cast<HMODULE>(moduleInstance)));
}

// Another module registered our class name first: the editor cannot make
// its window, so the open fails whole and leaves nothing behind.
TEST(EditorCycles, AClassNameTakenByAnotherModuleFailsTheOpen) {
    HostWindow host;
    DistortionEffect effect(recordingHost);
    AEffect* record = effect.getAeffect();
    auto* editor = static_cast<GuiEditorBase*>(effect.getEditorObject());
    WNDCLASSA other{};
    other.style = CS_GLOBALCLASS;
    other.lpfnWndProc = DefWindowProcA;
    other.hInstance = GetModuleHandleA("kernel32.dll");
    other.lpszClassName = windowClassName();
    ASSERT_NE(RegisterClassA(&other), 0);
    const int32_t objects = liveGdiObjectCount();

    EXPECT_EQ(call(record, effEditOpen, 0, host.handle), 0);
    EXPECT_EQ(GetWindow(host.handle, GW_CHILD), nullptr);
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(liveGdiObjectCount(), objects);
    call(record, effEditIdle);
    call(record, effEditClose);

    ASSERT_TRUE(UnregisterClassA(windowClassName(), other.hInstance));
    EXPECT_EQ(call(record, effEditOpen, 0, host.handle), 1);
    EXPECT_NE(GetWindow(host.handle, GW_CHILD), nullptr);
    call(record, effEditClose);
    EXPECT_FALSE(classRegistered());
}
