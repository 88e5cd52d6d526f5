#include "host/clap_buffers.h"

#include <algorithm>

#include "host/stereo_channels.h"

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
    if (!in_.empty()) loadStereo(in_.front().channels, inLeft, inRight, frames);
}

void ClapBuffers::store(float* outLeft, float* outRight, int32_t frames) const {
    storeStereo(out_.empty() ? nullptr : &out_.front().channels, outLeft, outRight, frames);
}
