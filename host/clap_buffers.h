// The audio buffers of a CLAP plug-in's ports, allocated once: the host's
// stereo signal goes into the main input port (a one-channel port gets the
// mid signal, extra channels silence) and comes back from the main output
// port (a one-channel port feeds both sides; no port gives silence).
#pragma once

#include <cstdint>
#include <vector>

#include "clap/clap_extensions.h"

class ClapBuffers {
public:
    // Reads the port layout; without the audio-ports extension the plug-in
    // has no ports at all.
    ClapBuffers(const vclap::Plugin* plugin, const vclap::PluginAudioPorts* ports, int32_t maxFrames);
    ClapBuffers(const ClapBuffers&) = delete;
    ClapBuffers& operator=(const ClapBuffers&) = delete;

    // frames <= maxFrames; neither allocates.
    void load(const float* inLeft, const float* inRight, int32_t frames);
    void store(float* outLeft, float* outRight, int32_t frames) const;

    const vclap::AudioBuffer* inputs() const { return inBuffers_.data(); }
    vclap::AudioBuffer* outputs() { return outBuffers_.data(); }
    uint32_t inputCount() const { return static_cast<uint32_t>(inBuffers_.size()); }
    uint32_t outputCount() const { return static_cast<uint32_t>(outBuffers_.size()); }

private:
    struct Port {
        std::vector<std::vector<float>> channels;
        std::vector<float*> pointers;
    };

    static std::vector<Port> makePorts(const vclap::Plugin* plugin, const vclap::PluginAudioPorts* ports,
                                       bool isInput, int32_t maxFrames);
    static std::vector<vclap::AudioBuffer> describe(std::vector<Port>& ports);

    std::vector<Port> in_;
    std::vector<Port> out_;
    std::vector<vclap::AudioBuffer> inBuffers_;
    std::vector<vclap::AudioBuffer> outBuffers_;
};
