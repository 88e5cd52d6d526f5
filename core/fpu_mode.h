#pragma once

// Sets flush-to-zero (and denormals-are-zero where the processor has it) for
// the calling thread, so recursive filters never slow down on denormals.
void enableFlushToZero();
