#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "host/editor_window.h"
#include "host/errors.h"
#include "host/loaded_plugin.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kIdleInterval = std::chrono::milliseconds(25);
constexpr auto kMapTimeout = std::chrono::seconds(5);

// Xlib's default handler ends the process on any protocol error, including
// one the plug-in's own connection causes (the handler is process-wide).
// While an editor is open a failed request is noted, never fatal.
int lastErrorCode = 0;
int noteError(Display*, XErrorEvent* event) {
    lastErrorCode = event->error_code;
    return 0;
}

// Position of a colour channel inside a pixel, from its mask.
struct Channel {
    unsigned long mask;
    int shift = 0;
    unsigned long max = 0;
    explicit Channel(unsigned long m) : mask(m) {
        if (mask == 0) return;
        while (((mask >> shift) & 1UL) == 0) ++shift;
        max = mask >> shift;
    }
    uint32_t eightBits(unsigned long pixel) const {
        if (max == 0) return 0;
        return static_cast<uint32_t>(((pixel & mask) >> shift) * 255UL / max);
    }
};

}  // namespace

struct EditorWindow::Impl {
    explicit Impl(LoadedPlugin& p) : plugin(p) {}

    LoadedPlugin& plugin;
    Display* display = nullptr;
    Window window = 0;
    Atom wmProtocols = 0;
    Atom wmDelete = 0;
    int width = kFallbackWidth;
    int height = kFallbackHeight;
    bool mapped = false;
    bool closed = false;
    bool destroyed = false;
    XErrorHandler previousHandler = nullptr;

    void pumpEvents() {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            switch (event.type) {
                case MapNotify:
                    if (event.xmap.window == window) mapped = true;
                    break;
                case UnmapNotify:
                    if (event.xunmap.window == window) mapped = false;
                    break;
                case DestroyNotify:
                    if (event.xdestroywindow.window == window) destroyed = closed = true;
                    break;
                case ClientMessage:
                    if (event.xclient.message_type == wmProtocols &&
                        static_cast<Atom>(event.xclient.data.l[0]) == wmDelete) {
                        closed = true;
                    }
                    break;
                default:
                    break;
            }
        }
    }

    void tick() {
        pumpEvents();
        if (!closed) plugin.idleEditor();
        XFlush(display);
    }

    void resize(const EditorSize& size) {
        width = size.width;
        height = size.height;
    }

    void fixSize() {
        XSizeHints* hints = XAllocSizeHints();
        if (hints == nullptr) return;
        hints->flags = PMinSize | PMaxSize;
        hints->min_width = hints->max_width = width;
        hints->min_height = hints->max_height = height;
        XSetWMNormalHints(display, window, hints);
        XFree(hints);
    }

    // The plug-in asked for another size while open.
    void resizeTo(const EditorSize& size) {
        resize(size);
        XResizeWindow(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
        fixSize();
        XFlush(display);
    }

    void teardown() {
        plugin.closeEditor();
        plugin.setEditorResizer({});
        if (display == nullptr) return;
        if (window != 0 && !destroyed) XDestroyWindow(display, window);
        XSync(display, False);
        display = nullptr;
        XSetErrorHandler(previousHandler);
    }
};

namespace {

// The one connection of this process, opened by requireDisplay() and kept:
// closing the only client makes a fresh X server (Xvfb) reset, and a
// connection attempted during that reset is refused.
Display* sharedDisplay = nullptr;

Display* openDisplay() {
    // A server that is just starting or resetting refuses briefly; retry.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr)) return display;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return nullptr;
}

}  // namespace

void EditorWindow::requireDisplay() {
    if (sharedDisplay != nullptr) return;
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        throw HostError("No X display is available because DISPLAY is not set.");
    }
    sharedDisplay = openDisplay();
    if (sharedDisplay == nullptr) throw HostError(std::string("Cannot open the X display ") + name + ".");
}

EditorWindow::EditorWindow(LoadedPlugin& plugin, const std::string& title) : impl_(std::make_unique<Impl>(plugin)) {
    Impl& w = *impl_;
    if (!plugin.hasEditor()) throw HostError(plugin.displayName() + " has no editor.");
    requireDisplay();
    w.display = sharedDisplay;
    w.previousHandler = XSetErrorHandler(noteError);

    const std::optional<EditorSize> rect = plugin.editorSize();
    if (rect) w.resize(*rect);

    const int screen = DefaultScreen(w.display);
    w.window = XCreateSimpleWindow(w.display, RootWindow(w.display, screen), 0, 0, static_cast<unsigned>(w.width),
                                   static_cast<unsigned>(w.height), 0, BlackPixel(w.display, screen),
                                   BlackPixel(w.display, screen));
    XStoreName(w.display, w.window, title.c_str());
    XClassHint* classHint = XAllocClassHint();
    if (classHint != nullptr) {
        char name[] = "velmora-host";
        classHint->res_name = name;
        classHint->res_class = name;
        XSetClassHint(w.display, w.window, classHint);
        XFree(classHint);
    }
    w.wmProtocols = XInternAtom(w.display, "WM_PROTOCOLS", False);
    w.wmDelete = XInternAtom(w.display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(w.display, w.window, &w.wmDelete, 1);
    XSelectInput(w.display, w.window, StructureNotifyMask);
    w.fixSize();
    // The editor reaches this window through its own connection, so the
    // window must exist on the server before its id is handed over.
    XSync(w.display, False);

    plugin.setEditorResizer([&w](const EditorSize& size) { w.resizeTo(size); });
    if (!plugin.openEditor(reinterpret_cast<void*>(static_cast<uintptr_t>(w.window)))) {
        w.teardown();
        throw HostError("The editor of " + plugin.displayName() + " did not open.");
    }
    // Some editors only know their size once open.
    if (!rect) {
        if (const auto late = plugin.editorSize()) {
            w.resize(*late);
            XResizeWindow(w.display, w.window, static_cast<unsigned>(w.width), static_cast<unsigned>(w.height));
            w.fixSize();
        }
    }

    XMapRaised(w.display, w.window);
    XFlush(w.display);
    const auto deadline = Clock::now() + kMapTimeout;
    while (!w.mapped && !w.closed && Clock::now() < deadline) {
        w.tick();
        if (!w.mapped) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!w.mapped) {
        w.teardown();
        throw HostError("The editor window never appeared on the X display.");
    }
}

EditorWindow::~EditorWindow() { impl_->teardown(); }

int EditorWindow::width() const { return impl_->width; }
int EditorWindow::height() const { return impl_->height; }

bool EditorWindow::idleFor(double seconds) {
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    auto next = Clock::now();
    while (!impl_->closed) {
        impl_->tick();
        next += kIdleInterval;
        if (next >= end) break;
        std::this_thread::sleep_until(next);
    }
    return !impl_->closed;
}

void EditorWindow::runUntilClosed(std::optional<double> limitSeconds) {
    if (limitSeconds) {
        idleFor(*limitSeconds);
        return;
    }
    while (idleFor(3600.0)) {
    }
}

WindowImage EditorWindow::capture() {
    Impl& w = *impl_;
    XSync(w.display, False);
    XWindowAttributes attributes;
    if (w.closed || XGetWindowAttributes(w.display, w.window, &attributes) == 0 || attributes.map_state != IsViewable) {
        throw HostError("The editor window is not on screen, so it cannot be captured.");
    }
    // Without a compositor the server keeps one frame buffer, so reading the
    // top-level window yields the editor's child windows as they are shown.
    XImage* image = XGetImage(w.display, w.window, 0, 0, static_cast<unsigned>(w.width),
                              static_cast<unsigned>(w.height), AllPlanes, ZPixmap);
    if (image == nullptr) throw HostError("Reading the editor window's pixels failed.");

    const Channel red(image->red_mask), green(image->green_mask), blue(image->blue_mask);
    WindowImage result;
    result.width = w.width;
    result.height = w.height;
    result.pixels.resize(static_cast<size_t>(w.width) * static_cast<size_t>(w.height));
    for (int y = 0; y < w.height; ++y) {
        for (int x = 0; x < w.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            result.pixels[static_cast<size_t>(y) * static_cast<size_t>(w.width) + static_cast<size_t>(x)] =
                0xFF000000u | (red.eightBits(pixel) << 16) | (green.eightBits(pixel) << 8) | blue.eightBits(pixel);
        }
    }
    XDestroyImage(image);
    return result;
}
