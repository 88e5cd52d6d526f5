#include "host/clap_buffers.h"

#include <algorithm>

namespace {

// Guards against nonsense counts from a broken plug-in.
constexpr uint32_t kMaxPorts = 16;
constexpr uint32_t kMaxChannels = 64;

}  // namespace

ClapBuffers::ClapBuffers(const vclap::Plugin* plugin, const vclap::PluginAudioPorts* ports, int32_t maxFrames)
    : in_(makePorts(plugin, ports, true, maxFrames)), out_(makePorts(plugin, ports, false, maxFrames)) {
    inBuffers_ = describe(in_);
    outBuffers_ = describe(out_);
}

std::vector<ClapBuffers::Port> ClapBuffers::makePorts(const vclap::Plugin* plugin, const vclap::PluginAudioPorts* ports,
                                                      bool isInput, int32_t maxFrames) {
    std::vector<Port> result;
    if (ports == nullptr) return result;
    const uint32_t count = std::min(ports->count(plugin, isInput), kMaxPorts);
    for (uint32_t i = 0; i < count; ++i) {
        vclap::AudioPortInfo info{};
        const uint32_t channels = ports->get(plugin, i, isInput, &info) ? std::min(info.channel_count, kMaxChannels) : 0;
        Port port;
        port.channels.assign(channels, std::vector<float>(static_cast<size_t>(maxFrames), 0.0f));
        for (auto& channel : port.channels) port.pointers.push_back(channel.data());
        // Never a null array, even for zero channels.
        port.pointers.push_back(nullptr);
        result.push_back(std::move(port));
    }
    return result;
}

std::vector<vclap::AudioBuffer> ClapBuffers::describe(std::vector<Port>& ports) {
    std::vector<vclap::AudioBuffer> buffers;
    for (auto& port : ports) {
        vclap::AudioBuffer buffer{};
        buffer.data32 = port.pointers.data();
        buffer.data64 = nullptr;
        buffer.channel_count = static_cast<uint32_t>(port.channels.size());
        buffers.push_back(buffer);
    }
    return buffers;
}

void ClapBuffers::load(const float* inLeft, const float* inRight, int32_t frames) {
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

void ClapBuffers::store(float* outLeft, float* outRight, int32_t frames) const {
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
