// How many samples the output lags the input: the one place that answers
// hosts. It is the delay of the Quality in effect; a change that moves it
// while active asks the host to restart (HostedEffect::setQuality), and the
// host asks again in the next activate.
#include "clap/clap_effect.h"
#include "core/host_entry_guard.h"
#include "clap/clap_offered_extensions.h"

namespace {

uint32_t VCLAP_CALL latencySamples(const vclap::Plugin* plugin) {
    return guardedHostEntry(0u, [&] {
        const ClapEffect* effect = ClapEffect::of(plugin);
        return effect != nullptr ? effect->latencyFrames() : 0u;
    });
}

}  // namespace

const vclap::PluginLatency kClapLatency = {latencySamples};
