// The frame's child window on Linux: its own display connection, a child of
// the host's window, painted with cairo. Expose events become region paints
// and presses of buttons 1-3 become the frame's mouse presses, both delivered
// when the editor idles; while a press is being handled (a knob drag) only
// paints are delivered and further presses wait for the next idle.
#pragma once

#include <X11/Xlib.h>
#include <cairo.h>

#include <cstdint>
#include <memory>

#include "gui/gui_platform.h"
#include "x11_error_trap.h"
#include "x11_pointer.h"

class X11Window : public GuiWindow {
public:
    // width x height logical pixels at the scale step. Null when the display
    // cannot be opened or the parent is not a window.
    static std::unique_ptr<X11Window> create(void* parent, int32_t width, int32_t height, GuiScale scale,
                                             GuiWindowClient& client);
    // Destroys the window (unless the system already has) and closes the
    // connection; X errors on the way (the host destroyed its window first)
    // are swallowed.
    ~X11Window() override;

    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    std::unique_ptr<GuiCanvas> makeCanvas() override;
    GuiPointer& pointer() override { return livePointer; }
    void processEvents() override;
    void processPendingPaint() override;
    void* nativeHandle() const override;
    // The display connection's socket.
    int eventDescriptor() const override { return ConnectionNumber(dpy); }

    Display* display() const { return dpy; }
    Window window() const { return win; }
    bool isDestroyed() const { return destroyed; }

private:
    X11Window(Display* display, Window window, Visual* visual, int32_t deviceWidth, int32_t deviceHeight,
              GuiScale scale, GuiWindowClient& client);

    void drain(bool presses);
    void handle(const XEvent& event);
    void dispatchPress(const XButtonEvent& event);
    void paintDamage();
    void noteErrors();
    void markDestroyed();

    Display* dpy;
    Window win;
    GuiScale scale;
    GuiWindowClient& client;
    X11ErrorLog errors;
    int errorsSeen = 0;
    bool destroyed = false;
    bool insidePress = false;
    cairo_surface_t* surface = nullptr;
    X11Pointer livePointer;
    GuiRect damage;
    bool damaged = false;
};
