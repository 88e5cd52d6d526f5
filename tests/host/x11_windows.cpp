#include "x11_windows.h"

#include <X11/Xutil.h>

#include <chrono>
#include <thread>

Window findWindow(Display* display, const std::string& title) {
    Window root, parent;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) return 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
            if (title == name) found = children[i];
            XFree(name);
        }
    }
    if (children != nullptr) XFree(children);
    return found;
}

Window waitForWindow(Display* display, const std::string& title) {
    for (int tries = 0; tries < 1000; ++tries) {
        if (const Window window = findWindow(display, title)) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display, window, &attributes) != 0 && attributes.map_state == IsViewable) {
                return window;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0;
}

void sendDeleteWindow(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

std::vector<uint32_t> readWindowPixels(Display* display, Window window, int x, int y, int w, int h) {
    XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes,
                              ZPixmap);
    if (image == nullptr) return {};
    std::vector<uint32_t> pixels;
    pixels.reserve(static_cast<size_t>(w) * static_cast<size_t>(h));
    // The test display is 24-bit TrueColor: the pixel value is 0xRRGGBB.
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            pixels.push_back(static_cast<uint32_t>(XGetPixel(image, column, row)) & 0xFFFFFFu);
        }
    }
    XDestroyImage(image);
    return pixels;
}
