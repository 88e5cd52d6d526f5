#include "x11_error_trap.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {
struct TrapEntry {
    const X11ErrorTrap* trap;
    Display* display;
    X11ErrorLog* log;
};

std::mutex trapMutex;
std::vector<TrapEntry> activeTraps;
XErrorHandler previousHandler = nullptr;

int trapHandler(Display* display, XErrorEvent* event) {
    XErrorHandler forward;
    {
        std::lock_guard<std::mutex> lock(trapMutex);
        for (auto it = activeTraps.rbegin(); it != activeTraps.rend(); ++it) {
            if (it->display == display) {
                ++it->log->count;
                it->log->lastCode = event->error_code;
                it->log->lastResource = event->resourceid;
                if (event->error_code == BadWindow || event->error_code == BadDrawable) {
                    it->log->windowGone = true;
                }
                return 0;
            }
        }
        forward = previousHandler;
    }
    return forward ? forward(display, event) : 0;
}
}  // namespace

X11ErrorTrap::X11ErrorTrap(Display* d, X11ErrorLog& log) : display(d) {
    std::lock_guard<std::mutex> lock(trapMutex);
    outermost = std::none_of(activeTraps.begin(), activeTraps.end(),
                             [d](const TrapEntry& e) { return e.display == d; });
    // Stored first: a failed allocation leaves no handler installed.
    const bool first = activeTraps.empty();
    activeTraps.push_back(TrapEntry{this, d, &log});
    if (first) previousHandler = XSetErrorHandler(trapHandler);
}

X11ErrorTrap::~X11ErrorTrap() {
    if (display && outermost) XSync(display, False);
    std::lock_guard<std::mutex> lock(trapMutex);
    std::erase_if(activeTraps, [this](const TrapEntry& e) { return e.trap == this; });
    if (activeTraps.empty()) {
        XSetErrorHandler(previousHandler);
        previousHandler = nullptr;
    }
}

void X11ErrorTrap::closeDisplay() {
    if (!display) return;
    XCloseDisplay(display);
    display = nullptr;
}
