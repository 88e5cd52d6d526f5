// The AVX copy of the signal path for the replacing callback.
#include "paired_signal_path_routing.h"

template void PairedSignalPath::processAvx<false>(float* const*, float* const*, int32_t);
