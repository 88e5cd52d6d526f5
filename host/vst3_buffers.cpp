#include "host/vst3_buffers.h"

#include <algorithm>

#include "host/stereo_channels.h"

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
    if (!in_.empty()) loadStereo(in_.front().channels, inLeft, inRight, frames);
}

void Vst3Buffers::store(float* outLeft, float* outRight, int32_t frames) const {
    storeStereo(out_.empty() ? nullptr : &out_.front().channels, outLeft, outRight, frames);
}
