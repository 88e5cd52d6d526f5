// How a stereo signal meets a plug-in's main bus of any width, the same in
// every format: one channel gets the mid signal, two or more get left and
// right and the rest silence; back from the bus, a mono output feeds both
// sides, and no output at all is silence.
#pragma once

#include <cstdint>
#include <vector>

using ChannelBuffers = std::vector<std::vector<float>>;

void loadStereo(ChannelBuffers& channels, const float* inLeft, const float* inRight, int32_t frames);
void storeStereo(const ChannelBuffers* channels, float* outLeft, float* outRight, int32_t frames);
