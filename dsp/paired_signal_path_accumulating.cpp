// The accumulating callback's copies of the signal path.
#include "paired_signal_path_routing.h"

template void PairedSignalPath::process<true>(float* const*, float* const*, int32_t);
