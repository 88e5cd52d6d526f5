// The frame's child window inside the host's window. The host runs the
// message loop; the window procedure turns paint messages into region
// paints and presses of the three buttons into the frame's presses (handled
// with the buttons and modifiers the press message carried, so a click
// already over when its message is handled still counts), and the
// window accepts dropped text and files through OLE. Drags are followed by
// polling, so the window never captures the mouse. While a window exists,
// keyed blits may use TransparentBlt (msimg32.dll stays loaded).
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <memory>

#include "gui/gui_platform.h"
#include "ole_drop_target.h"
#include "win32_pointer.h"

class Win32Window : public GuiWindow, private DropSink {
public:
    // width x height logical pixels at the scale step. Null when the parent
    // is not a window or the window cannot be made.
    static std::unique_ptr<Win32Window> create(HWND parent, int32_t width, int32_t height, GuiScale scale,
                                               GuiWindowClient& client);
    // Revokes the drop target and destroys the window (unless the system
    // already has), then releases the window class.
    ~Win32Window() override;

    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    std::unique_ptr<GuiCanvas> makeCanvas() override;
    GuiPointer& pointer() override { return livePointer; }
    // Nothing: the host's message loop delivers our messages.
    void processEvents() override {}
    // Dispatches at most one pending paint message of the thread.
    void processPendingPaint() override;
    void* nativeHandle() const override { return window; }

    HWND handle() const { return window; }
    bool isDestroyed() const { return destroyed; }
    // The registered drop target (null when registration failed).
    IDropTarget* dropTarget() const { return dropRegistered ? target : nullptr; }

private:
    Win32Window(HWND window, GuiScale scale, GuiWindowClient& client);

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The procedure's work; it may throw, the procedure catches.
    static LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT paint();
    void press(UINT message, WPARAM wParam, LPARAM lParam);
    void systemDestroyed();
    void revokeDrop();
    bool dropped(void** items, int32_t count, int32_t type) override;

    HWND window;
    GuiScale scale;
    GuiWindowClient& client;
    Win32Pointer livePointer;
    OleDropTarget* target = nullptr;
    bool dropRegistered = false;
    bool destroyed = false;
};
