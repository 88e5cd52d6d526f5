#include "x11_window.h"

#include <X11/Xutil.h>
#include <cairo-xlib.h>

#include <algorithm>
#include <cstdint>

#include "gui/gui_press_pointer.h"
#include "cairo_canvas.h"

namespace {
constexpr long kEventMask = ExposureMask | ButtonPressMask | StructureNotifyMask;

// A canvas on the window that keeps X errors trapped while it draws and
// pushes its drawing out when done.
class X11WindowCanvas : public CairoCanvas {
public:
    X11WindowCanvas(cairo_surface_t* surface, GuiScale scale, Display* display, X11ErrorLog& log)
        : CairoCanvas(surface, scale), dpy(display), trap(display, log) {}
    ~X11WindowCanvas() override {
        finish();
        XFlush(dpy);
    }

private:
    Display* dpy;
    X11ErrorTrap trap;
};

struct EventFilter {
    Window window;
    bool presses;
};

Bool acceptEvent(Display*, XEvent* event, XPointer arg) {
    const auto* filter = reinterpret_cast<const EventFilter*>(arg);
    if (event->type == ButtonPress) return filter->presses ? True : False;
    return True;
}

// The fixed size, for embedders that take a window's size from its hints
// (LV2 hosts through suil).
void setFixedSizeHints(Display* display, Window window, int width, int height) {
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize | PBaseSize;
    hints.min_width = hints.max_width = hints.base_width = width;
    hints.min_height = hints.max_height = hints.base_height = height;
    XSetWMNormalHints(display, window, &hints);
}

Bool acceptPaint(Display*, XEvent* event, XPointer arg) {
    const auto* filter = reinterpret_cast<const EventFilter*>(arg);
    if (event->type == Expose) return event->xexpose.window == filter->window ? True : False;
    if (event->type == DestroyNotify) {
        return event->xdestroywindow.window == filter->window ? True : False;
    }
    return False;
}
}  // namespace

std::unique_ptr<X11Window> X11Window::create(void* parent, int32_t logicalWidth, int32_t logicalHeight,
                                             GuiScale scale, GuiWindowClient& client) {
    const auto parentWindow = static_cast<Window>(reinterpret_cast<uintptr_t>(parent));
    const int32_t width = scale.toDevice(logicalWidth), height = scale.toDevice(logicalHeight);
    if (parentWindow == 0 || width <= 0 || height <= 0) return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;

    // An allocation that fails on the way (a trap's entry, the object)
    // leaves no connection behind: closing it also destroys the window.
    try {
        X11ErrorLog log;
        Window window = 0;
        XWindowAttributes attributes{};
        Status gotAttributes = 0;
        {
            X11ErrorTrap trap(display, log);
            XSetWindowAttributes settings{};
            settings.event_mask = kEventMask;
            settings.background_pixmap = None;  // we paint everything; no flash of a fill
            window = XCreateWindow(display, parentWindow, 0, 0, static_cast<unsigned>(width),
                                   static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                                   CopyFromParent, CWEventMask | CWBackPixmap, &settings);
            setFixedSizeHints(display, window, width, height);
            XMapWindow(display, window);
            XFlush(display);
            gotAttributes = XGetWindowAttributes(display, window, &attributes);
        }
        if (log.count > 0 || !gotAttributes) {
            X11ErrorTrap trap(display, log);
            if (window) XDestroyWindow(display, window);
            trap.closeDisplay();
            return nullptr;
        }
        return std::unique_ptr<X11Window>(
            new X11Window(display, window, attributes.visual, width, height, scale, client));
    } catch (...) {
        XCloseDisplay(display);
        throw;
    }
}

X11Window::X11Window(Display* display, Window window, Visual* visual, int32_t w, int32_t h, GuiScale scaleStep,
                     GuiWindowClient& owner)
    : dpy(display),
      win(window),
      scale(scaleStep),
      client(owner),
      surface(cairo_xlib_surface_create(display, window, visual, w, h)),
      livePointer(display, window, scaleStep, errors, destroyed) {}

X11Window::~X11Window() {
    X11ErrorTrap trap(dpy, errors);
    cairo_surface_finish(surface);
    cairo_surface_destroy(surface);
    if (!destroyed) XDestroyWindow(dpy, win);
    XSync(dpy, False);
    trap.closeDisplay();
}

void* X11Window::nativeHandle() const {
    return reinterpret_cast<void*>(static_cast<uintptr_t>(win));
}

std::unique_ptr<GuiCanvas> X11Window::makeCanvas() {
    noteErrors();
    if (destroyed || cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) return nullptr;
    return std::make_unique<X11WindowCanvas>(surface, scale, dpy, errors);
}

void X11Window::processEvents() { drain(!insidePress); }

void X11Window::processPendingPaint() {
    X11ErrorTrap trap(dpy, errors);
    EventFilter filter{win, false};
    XEvent event;
    while (XCheckIfEvent(dpy, &event, acceptPaint, reinterpret_cast<XPointer>(&filter))) {
        handle(event);
    }
    paintDamage();
    noteErrors();
}

void X11Window::drain(bool presses) {
    X11ErrorTrap trap(dpy, errors);
    EventFilter filter{win, presses};
    XEvent event;
    while (XCheckIfEvent(dpy, &event, acceptEvent, reinterpret_cast<XPointer>(&filter))) {
        if (event.type == ButtonPress) {
            if (event.xbutton.window != win || stateMaskOfButton(event.xbutton.button) == 0) {
                continue;  // wheel buttons and the like: not handled, as on the other side
            }
            paintDamage();  // what was exposed before the press is painted first
            dispatchPress(event.xbutton);
            continue;
        }
        handle(event);
    }
    paintDamage();
    noteErrors();
}

void X11Window::handle(const XEvent& event) {
    switch (event.type) {
        case Expose: {
            if (event.xexpose.window != win) break;
            const GuiRect r{event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                            event.xexpose.y + event.xexpose.height};
            if (!damaged) {
                damage = r;
                damaged = true;
            } else {
                damage = GuiRect{std::min(damage.left, r.left), std::min(damage.top, r.top),
                                 std::max(damage.right, r.right), std::max(damage.bottom, r.bottom)};
            }
            break;
        }
        case DestroyNotify:
            if (event.xdestroywindow.window == win) markDestroyed();
            break;
        default:
            break;
    }
}

void X11Window::dispatchPress(const XButtonEvent& event) {
    std::unique_ptr<GuiCanvas> canvas = makeCanvas();
    if (!canvas) return;
    const int32_t buttons = guiButtonsFromState(event.state | stateMaskOfButton(event.button));
    GuiPressPointer pressPointer(livePointer, buttons);
    insidePress = true;
    client.windowPress(*canvas, pressPointer, scale.toLogical(GuiPoint{event.x, event.y}));
    insidePress = false;
}

void X11Window::paintDamage() {
    if (!damaged) return;
    damaged = false;
    std::unique_ptr<GuiCanvas> canvas = makeCanvas();
    if (canvas) client.windowPaint(*canvas, livePointer, scale.isIdentity() ? damage : scale.toLogicalCovering(damage));
}

void X11Window::noteErrors() {
    if (errors.count == errorsSeen) return;
    errorsSeen = errors.count;
    // Our window (or what we drew on) vanished under us: the host destroyed
    // its parent before the DestroyNotify reached us.
    if (errors.windowGone) markDestroyed();
}

void X11Window::markDestroyed() {
    if (destroyed) return;
    destroyed = true;
    client.windowDestroyed();
}
