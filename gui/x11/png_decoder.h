// Decodes the bytes of a PNG file (the larger scale steps' artwork) with
// cairo into the same 0x00RRGGBB pixels the .bmp decoder gives.
#pragma once

#include <cstddef>

#include "bmp_decoder.h"

// An empty result for anything cairo cannot read.
DecodedBitmap decodePng(const unsigned char* data, std::size_t size);
