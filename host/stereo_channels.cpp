#include "host/stereo_channels.h"

#include <algorithm>

void loadStereo(ChannelBuffers& channels, const float* inLeft, const float* inRight, int32_t frames) {
    const auto count = static_cast<size_t>(frames);
    if (channels.size() == 1) {
        for (size_t i = 0; i < count; ++i) channels[0][i] = 0.5f * (inLeft[i] + inRight[i]);
    } else if (channels.size() >= 2) {
        std::copy_n(inLeft, count, channels[0].begin());
        std::copy_n(inRight, count, channels[1].begin());
    }
    for (size_t c = 2; c < channels.size(); ++c) std::fill_n(channels[c].begin(), count, 0.0f);
}

void storeStereo(const ChannelBuffers* channels, float* outLeft, float* outRight, int32_t frames) {
    const auto count = static_cast<size_t>(frames);
    if (channels == nullptr || channels->empty()) {
        std::fill_n(outLeft, count, 0.0f);
        std::fill_n(outRight, count, 0.0f);
        return;
    }
    std::copy_n((*channels)[0].begin(), count, outLeft);
    std::copy_n((*channels)[channels->size() >= 2 ? 1 : 0].begin(), count, outRight);
}
