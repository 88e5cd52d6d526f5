// Feeds stereo blocks to a plug-in whatever channel counts it declares: the
// stereo input goes to its first two inputs (a one-input plug-in gets the mid
// signal), further inputs get silence, and its first two outputs come back (a
// one-output plug-in's output goes to both sides).
#pragma once

#include <cstdint>
#include <vector>

class PluginInstance;
struct AEffect;

class BlockProcessor {
public:
    // Allocates every buffer up front; throws HostError when the plug-in has
    // no audio entry at all.
    BlockProcessor(PluginInstance& plugin, int32_t maxFrames);

    // frames must not exceed maxFrames. Allocates nothing.
    void process(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames);

    int32_t maxFrames() const { return maxFrames_; }

private:
    AEffect& effect_;
    int32_t maxFrames_;
    bool replacing_;
    std::vector<std::vector<float>> inputs_;
    std::vector<std::vector<float>> outputs_;
    std::vector<float*> inputPointers_;
    std::vector<float*> outputPointers_;
};
