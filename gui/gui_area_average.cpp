#include "gui_area_average.h"

#include <algorithm>
#include <cstddef>

namespace {

// One target sample along an axis: the source range it covers and the
// weight of each source sample in it.
struct Span {
    int32_t first;
    std::vector<double> weights;
};

std::vector<Span> spans(int32_t source, int32_t target) {
    std::vector<Span> out(static_cast<std::size_t>(target));
    const double ratio = static_cast<double>(source) / target;
    for (int32_t t = 0; t < target; ++t) {
        const double begin = t * ratio, end = (t + 1) * ratio;
        Span& span = out[static_cast<std::size_t>(t)];
        span.first = static_cast<int32_t>(begin);
        for (int32_t s = span.first; s < source && s < end; ++s)
            span.weights.push_back((std::min<double>(s + 1, end) - std::max<double>(s, begin)) / ratio);
    }
    return out;
}

uint32_t channel(uint32_t pixel, int shift) { return (pixel >> shift) & 0xFFu; }

}  // namespace

std::vector<uint32_t> areaAverage(const std::vector<uint32_t>& pixels, int32_t width, int32_t height,
                                  int32_t targetWidth, int32_t targetHeight) {
    if (targetWidth <= 0 || targetHeight <= 0 || targetWidth > width || targetHeight > height ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return {};
    const std::vector<Span> across = spans(width, targetWidth), down = spans(height, targetHeight);
    // Rows first (three channels as doubles), then columns.
    std::vector<double> narrowed(static_cast<std::size_t>(targetWidth) * height * 3);
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* row = pixels.data() + static_cast<std::size_t>(y) * width;
        for (int32_t x = 0; x < targetWidth; ++x) {
            const Span& span = across[static_cast<std::size_t>(x)];
            double* out = &narrowed[(static_cast<std::size_t>(y) * targetWidth + x) * 3];
            for (std::size_t k = 0; k < span.weights.size(); ++k)
                for (int c = 0; c < 3; ++c) out[c] += span.weights[k] * channel(row[span.first + k], 16 - 8 * c);
        }
    }
    std::vector<uint32_t> result(static_cast<std::size_t>(targetWidth) * targetHeight);
    for (int32_t y = 0; y < targetHeight; ++y) {
        const Span& span = down[static_cast<std::size_t>(y)];
        for (int32_t x = 0; x < targetWidth; ++x) {
            double sum[3] = {0, 0, 0};
            for (std::size_t k = 0; k < span.weights.size(); ++k) {
                const double* in = &narrowed[((span.first + k) * targetWidth + x) * 3];
                for (int c = 0; c < 3; ++c) sum[c] += span.weights[k] * in[c];
            }
            uint32_t pixel = 0;
            for (int c = 0; c < 3; ++c)
                pixel |= static_cast<uint32_t>(std::clamp(sum[c] + 0.5, 0.0, 255.0)) << (16 - 8 * c);
            result[static_cast<std::size_t>(y) * targetWidth + x] = pixel;
        }
    }
    return result;
}
