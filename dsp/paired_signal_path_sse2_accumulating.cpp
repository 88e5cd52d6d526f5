// The SSE2 copy of the signal path for the accumulating callback.
#include "paired_signal_path_routing.h"

template void PairedSignalPath::processSse2<true>(float* const*, float* const*, int32_t);
