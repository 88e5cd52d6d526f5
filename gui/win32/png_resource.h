// The artwork of the larger scale steps: PNG files in the module's RCDATA
// resources (named PNG_<id>_<percent>), decoded by the Windows Imaging
// Component into a 32-bit DIB section. A step without its own PNG is
// area-averaged from the next larger step that has one.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstdint>
#include <memory>

#include "gdi_bitmap_image.h"

// Null when neither the step nor a larger one has the bitmap. COM must be
// started on the thread (the platform's beginThreadUse does).
std::unique_ptr<GdiBitmapImage> loadScaledArtwork(HINSTANCE module, int32_t resourceId, int32_t scalePercent);
