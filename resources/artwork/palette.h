// Reduces a panel drawing to 256 colours for the palettised background.
//
// The panel is mostly flat colours with anti-aliased edges, so the colours
// that cover many pixels are kept exactly (the knob seats must stay the very
// colour the knob bitmaps are painted on) and only the sparse edge tones are
// clustered.
#pragma once

#include "resources/artwork/image.h"

#include <cstdint>
#include <vector>

namespace artwork {

struct PalettisedImage {
    std::vector<Rgb> palette;            // exactly 256 entries
    std::vector<std::uint8_t> indices;   // one per pixel, top-down
};

PalettisedImage palettise(const Image& image);

}  // namespace artwork
