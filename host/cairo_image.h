// A drawn cairo image surface as the host's image type, for writePng.
#pragma once

#include <cairo.h>

#include "host/editor_window.h"

// The surface must be CAIRO_FORMAT_RGB24 or ARGB32 and flushed.
WindowImage imageOfSurface(cairo_surface_t* surface);
