// How many samples the output lags the input: the one place that answers
// hosts. The audio path adds no delay today; a setting that does (an
// oversampling quality) reports its delay here, and the host learns of a
// change through request_restart and asks again in the next activate.
#include "clap/clap_offered_extensions.h"

namespace {

uint32_t VCLAP_CALL latencySamples(const vclap::Plugin*) { return 0; }

}  // namespace

const vclap::PluginLatency kClapLatency = {latencySamples};
