// The audio buffers of a VST 3 processor's buses, allocated once: the host's
// stereo signal goes into the first input bus (a one-channel bus gets the mid
// signal, extra channels and buses silence) and comes back from the first
// output bus (a one-channel bus feeds both sides; no bus gives silence).
#pragma once

#include <cstdint>
#include <vector>

#include "vst3/vst3_abi.h"

class Vst3Buffers {
public:
    // Channels of each bus, in bus order.
    Vst3Buffers(const std::vector<int32_t>& inputChannels, const std::vector<int32_t>& outputChannels,
                int32_t maxFrames);
    Vst3Buffers(const Vst3Buffers&) = delete;
    Vst3Buffers& operator=(const Vst3Buffers&) = delete;

    // frames <= maxFrames; neither allocates.
    void load(const float* inLeft, const float* inRight, int32_t frames);
    void store(float* outLeft, float* outRight, int32_t frames) const;

    // Points the process data at the buses; the host's silence flags are
    // left clear (nothing is promised about the input).
    void describe(vvst3::ProcessData& data);

private:
    struct Bus {
        std::vector<std::vector<float>> channels;
        std::vector<float*> pointers;
    };

    static std::vector<Bus> makeBuses(const std::vector<int32_t>& channels, int32_t maxFrames);
    static std::vector<vvst3::AudioBusBuffers> describe(std::vector<Bus>& buses);

    std::vector<Bus> in_;
    std::vector<Bus> out_;
    std::vector<vvst3::AudioBusBuffers> inBuffers_;
    std::vector<vvst3::AudioBusBuffers> outBuffers_;
};
