#include "host/vst3_buffers.h"

#include <algorithm>

namespace {

// Guards against nonsense counts from a broken plug-in.
constexpr int32_t kMaxChannels = 64;

}  // namespace

Vst3Buffers::Vst3Buffers(const std::vector<int32_t>& inputChannels, const std::vector<int32_t>& outputChannels,
                         int32_t maxFrames)
    : in_(makeBuses(inputChannels, maxFrames)), out_(makeBuses(outputChannels, maxFrames)) {
    inBuffers_ = describe(in_);
    outBuffers_ = describe(out_);
}

std::vector<Vst3Buffers::Bus> Vst3Buffers::makeBuses(const std::vector<int32_t>& channels, int32_t maxFrames) {
    std::vector<Bus> buses;
    for (const int32_t count : channels) {
        Bus bus;
        bus.channels.assign(static_cast<size_t>(std::clamp(count, 0, kMaxChannels)),
                            std::vector<float>(static_cast<size_t>(maxFrames), 0.0f));
        for (auto& channel : bus.channels) bus.pointers.push_back(channel.data());
        // Never a null array, even for zero channels.
        bus.pointers.push_back(nullptr);
        buses.push_back(std::move(bus));
    }
    return buses;
}

std::vector<vvst3::AudioBusBuffers> Vst3Buffers::describe(std::vector<Bus>& buses) {
    std::vector<vvst3::AudioBusBuffers> buffers;
    for (Bus& bus : buses) {
        vvst3::AudioBusBuffers buffer{};
        buffer.numChannels = static_cast<int32_t>(bus.channels.size());
        buffer.silenceFlags = 0;
        buffer.channelBuffers32 = bus.pointers.data();
        buffers.push_back(buffer);
    }
    return buffers;
}

void Vst3Buffers::describe(vvst3::ProcessData& data) {
    // The plug-in may have set output silence flags last time.
    for (auto& buffer : outBuffers_) buffer.silenceFlags = 0;
    data.numInputs = static_cast<int32_t>(inBuffers_.size());
    data.numOutputs = static_cast<int32_t>(outBuffers_.size());
    data.inputs = inBuffers_.empty() ? nullptr : inBuffers_.data();
    data.outputs = outBuffers_.empty() ? nullptr : outBuffers_.data();
}

void Vst3Buffers::load(const float* inLeft, const float* inRight, int32_t frames) {
    if (in_.empty()) return;
    const auto count = static_cast<size_t>(frames);
    auto& channels = in_.front().channels;
    if (channels.size() == 1) {
        for (size_t i = 0; i < count; ++i) channels[0][i] = 0.5f * (inLeft[i] + inRight[i]);
    } else if (channels.size() >= 2) {
        std::copy_n(inLeft, count, channels[0].begin());
        std::copy_n(inRight, count, channels[1].begin());
    }
    for (size_t c = 2; c < channels.size(); ++c) std::fill_n(channels[c].begin(), count, 0.0f);
}

void Vst3Buffers::store(float* outLeft, float* outRight, int32_t frames) const {
    const auto count = static_cast<size_t>(frames);
    if (out_.empty() || out_.front().channels.empty()) {
        std::fill_n(outLeft, count, 0.0f);
        std::fill_n(outRight, count, 0.0f);
        return;
    }
    const auto& channels = out_.front().channels;
    std::copy_n(channels[0].begin(), count, outLeft);
    std::copy_n(channels[channels.size() >= 2 ? 1 : 0].begin(), count, outRight);
}
