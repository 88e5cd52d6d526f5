// Reduces a bitmap drawn for a larger scale step to a smaller one: every
// device pixel becomes the average of the source area it covers (partly
// covered source pixels count by their share). Never enlarges.
#pragma once

#include <cstdint>
#include <vector>

// 0x00RRGGBB pixels, rows from the top. Empty when a target dimension is not
// positive or larger than the source's.
std::vector<uint32_t> areaAverage(const std::vector<uint32_t>& pixels, int32_t width, int32_t height,
                                  int32_t targetWidth, int32_t targetHeight);

// The device size of a dimension drawn at fromPercent when shown at
// toPercent, rounded as the editor rounds logical pixels.
constexpr int32_t reducedSize(int32_t size, int32_t fromPercent, int32_t toPercent) {
    return (size * toPercent + fromPercent / 2) / fromPercent;
}
