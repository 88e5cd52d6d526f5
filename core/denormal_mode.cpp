#include "core/denormal_mode.h"

#include "core/fpu_mode.h"

#if defined(__i386__) || defined(__x86_64__)
#include <xmmintrin.h>

namespace {
constexpr unsigned kFlushToZero = 0x8000;
constexpr unsigned kDenormalsAreZero = 0x40;
}  // namespace

unsigned DenormalModeScope::flushToZeroBits() {
    const unsigned before = _mm_getcsr();
    enableFlushToZero();
    const unsigned bits = _mm_getcsr() & (kFlushToZero | kDenormalsAreZero);
    _mm_setcsr(before);
    return bits;
}

DenormalModeScope::DenormalModeScope(unsigned bits) : saved(_mm_getcsr()) { _mm_setcsr(saved | bits); }
DenormalModeScope::~DenormalModeScope() { _mm_setcsr(saved); }
#else
unsigned DenormalModeScope::flushToZeroBits() { return 0; }
DenormalModeScope::DenormalModeScope(unsigned) {}
DenormalModeScope::~DenormalModeScope() {}
#endif
