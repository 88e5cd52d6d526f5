// Finding, closing and reading the top-level windows that a host started
// by a test shows on the X display (velmora-host's own, or Wine's for the
// Windows build).
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <string>
#include <vector>

// Finds a top-level window by its title; 0 when there is none.
Window findWindow(Display* display, const std::string& title);

// Waits until a top-level window with this title is on screen; 0 if it never is.
Window waitForWindow(Display* display, const std::string& title);

// What a window manager sends when the user clicks the close button.
void sendDeleteWindow(Display* display, Window window);

// The window's pixels in the w x h region at (x, y), 0xRRGGBB row after row;
// empty when they cannot be read.
std::vector<uint32_t> readWindowPixels(Display* display, Window window, int x, int y, int w, int h);
