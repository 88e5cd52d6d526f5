#include "host/block_processor.h"

#include <algorithm>

#include "host/errors.h"
#include "host/plugin_instance.h"

namespace {

// Guards against nonsense counts in a broken record.
constexpr int32_t kMaxChannels = 64;

size_t channelCount(int32_t declared) { return static_cast<size_t>(std::clamp(declared, 0, kMaxChannels)); }

}  // namespace

BlockProcessor::BlockProcessor(PluginInstance& plugin, int32_t maxFrames)
    : effect_(plugin.effect()), maxFrames_(maxFrames) {
    // Plug-ins that cannot replace are driven through the accumulating entry
    // into cleared buffers, which gives the same result.
    replacing_ = (effect_.flags & effFlagsCanReplacing) != 0 && effect_.processReplacing != nullptr;
    if (!replacing_ && effect_.process == nullptr) {
        throw HostError(plugin.displayName() + " offers no audio processing entry.");
    }
    const auto frames = static_cast<size_t>(maxFrames);
    inputs_.assign(channelCount(effect_.numInputs), std::vector<float>(frames, 0.0f));
    outputs_.assign(channelCount(effect_.numOutputs), std::vector<float>(frames, 0.0f));
    for (auto& channel : inputs_) inputPointers_.push_back(channel.data());
    for (auto& channel : outputs_) outputPointers_.push_back(channel.data());
    // Never hand the plug-in a null array, even for zero channels.
    inputPointers_.push_back(nullptr);
    outputPointers_.push_back(nullptr);
}

void BlockProcessor::process(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                             int32_t frames) {
    const auto count = static_cast<size_t>(frames);
    if (inputs_.size() == 1) {
        for (size_t i = 0; i < count; ++i) inputs_[0][i] = 0.5f * (inLeft[i] + inRight[i]);
    } else if (inputs_.size() >= 2) {
        std::copy_n(inLeft, count, inputs_[0].begin());
        std::copy_n(inRight, count, inputs_[1].begin());
    }
    // Extra inputs stay silent: they were zeroed at construction and only the
    // plug-in could have written to them.
    for (size_t c = 2; c < inputs_.size(); ++c) std::fill_n(inputs_[c].begin(), count, 0.0f);

    if (replacing_) {
        effect_.processReplacing(&effect_, inputPointers_.data(), outputPointers_.data(), frames);
    } else {
        for (auto& channel : outputs_) std::fill_n(channel.begin(), count, 0.0f);
        effect_.process(&effect_, inputPointers_.data(), outputPointers_.data(), frames);
    }

    if (outputs_.empty()) {
        std::fill_n(outLeft, count, 0.0f);
        std::fill_n(outRight, count, 0.0f);
        return;
    }
    std::copy_n(outputs_[0].begin(), count, outLeft);
    std::copy_n(outputs_[outputs_.size() >= 2 ? 1 : 0].begin(), count, outRight);
}
