// Keeps X errors of one of our own display connections from reaching the
// process's error handler (whose default ends the process), for the time the
// trap lives. Errors of other connections go on to the handler that was
// installed before. Traps nest; the outermost restores the previous handler.
#pragma once

#include <X11/Xlib.h>

struct X11ErrorLog {
    int count = 0;
    int lastCode = 0;
    unsigned long lastResource = 0;
    bool windowGone = false;  // a BadWindow or BadDrawable came back
};

class X11ErrorTrap {
public:
    X11ErrorTrap(Display* display, X11ErrorLog& log);
    // Waits for the server's answer to everything sent under the trap, so its
    // errors arrive while the trap still holds, then restores the handler.
    ~X11ErrorTrap();

    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Closes the display while the trap holds; nothing is sent after it.
    void closeDisplay();

private:
    Display* display;
    bool outermost;
};
