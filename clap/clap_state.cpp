// The state extension: every value saved in the format of
// core/state_format.h, and loaded whenever the stream is ours and whole.
#include "clap/clap_effect.h"
#include "core/host_entry_guard.h"
#include "clap/clap_offered_extensions.h"
#include "clap/clap_state_format.h"

namespace {

bool VCLAP_CALL save(const vclap::Plugin* plugin, const vclap::OutputStream* stream) {
    return guardedHostEntry(false, [&] {
        ClapEffect* effect = ClapEffect::of(plugin);
        if (effect == nullptr || stream == nullptr) return false;
        const StateBytes state = encodeState(effect->allValues());
        return writeAll(*stream, state.bytes.data(), state.size);
    });
}

bool VCLAP_CALL load(const vclap::Plugin* plugin, const vclap::InputStream* stream) {
    return guardedHostEntry(false, [&] {
        ClapEffect* effect = ClapEffect::of(plugin);
        if (effect == nullptr || stream == nullptr) return false;
        const std::optional<StateBytes> state = readAll(*stream);
        if (!state) return false;
        const std::optional<SavedValues> saved = decodeState(state->bytes.data(), state->size);
        if (!saved) return false;
        effect->loadValues(saved->byIndex);
        return true;
    });
}

}  // namespace

const vclap::PluginState kClapState = {save, load};
