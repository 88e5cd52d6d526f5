#include "clap/clap_identity.h"

#include "core/effect_identity.h"

namespace {

const char* const kFeatures[] = {vclap::feature::kAudioEffectFeature, vclap::feature::kDistortion, vclap::feature::kStereo,
                                 nullptr};

// Empty rather than null where there is nothing to say: some hosts read
// every string without checking.
const vclap::PluginDescriptor kDescriptor = {
    vclap::kVersion, kVelmoraClapId, kEffectName, kEffectVendor, "", "", "", kEffectVersionText.data(),
    "Three-band distortion: two crossovers, a drive, curve and level per band", kFeatures};

}  // namespace

const vclap::PluginDescriptor& velmoraDescriptor() { return kDescriptor; }
