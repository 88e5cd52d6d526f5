// Offscreen rendering of a whole frame: what the window would show, as a
// cairo image surface (for screenshots and tests).
#pragma once

#include <cairo.h>

class GuiFrame;

// A new RGB24 image of the frame's size with the frame drawn into it; the
// caller destroys it. Null (or an image in error) if it cannot be made.
cairo_surface_t* renderFrameImage(GuiFrame& frame);
