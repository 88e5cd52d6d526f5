// One stereo input and one stereo output, both the main port with id 0.
// The audio path reads each frame before writing it, so the host may hand
// the same buffers to both (the in-place pair). 32-bit samples only.
#include <cstring>

#include "core/host_entry_guard.h"
#include "clap/clap_offered_extensions.h"

namespace {

constexpr vclap::Id kMainPort = 0;

uint32_t VCLAP_CALL portCount(const vclap::Plugin*, bool) { return 1; }

bool VCLAP_CALL portInfo(const vclap::Plugin*, uint32_t index, bool, vclap::AudioPortInfo* info) {
    if (index != 0 || info == nullptr) return false;
    return guardedHostEntry(false, [&] {
        *info = vclap::AudioPortInfo{};
        info->id = kMainPort;
        std::strcpy(info->name, "Stereo");
        info->flags = vclap::audio_port::kIsMain;
        info->channel_count = 2;
        info->port_type = vclap::kPortStereo;
        info->in_place_pair = kMainPort;
        return true;
    });
}

}  // namespace

const vclap::PluginAudioPorts kClapAudioPorts = {portCount, portInfo};
