#include "fpu_mode.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <xmmintrin.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr unsigned kFlushToZero = 0x8000;
constexpr unsigned kDenormalsAreZero = 0x40;

// Processors with SSE but not SSE2 have DAZ only when FXSAVE reports a
// non-zero MXCSR mask.
__attribute__((target("fxsr"))) bool mxcsrMaskNonZero() {
    alignas(16) unsigned char area[512];
    std::memset(area, 0, sizeof area);
    __builtin_ia32_fxsave(area);
    uint32_t mask;
    std::memcpy(&mask, area + 28, sizeof mask);
    return mask != 0;
}

}  // namespace

void enableFlushToZero() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return;
    const bool sse = edx & bit_SSE;
    const bool sse2 = edx & bit_SSE2;
    if (!sse) return;
    unsigned mode = _mm_getcsr() | kFlushToZero;
    if (sse2 || mxcsrMaskNonZero()) mode |= kDenormalsAreZero;
    _mm_setcsr(mode);
}
#else
void enableFlushToZero() {}
#endif
