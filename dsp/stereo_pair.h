// Left and right as the two lanes of one SSE2 double register. Every lane
// does exactly the scalar operation, in the scalar order, so a pair computes
// the same bits as two separate channels would. Mono quantities (a drive, a
// level, a coefficient) are broadcast to both lanes.
#pragma once

#include <emmintrin.h>

#include <cstdint>

using Pair = __m128d;

// The per-frame helpers must be inlined into their loops: a call would push
// the loop's register-held state through memory every frame.
#define VELMORA_INLINE inline __attribute__((always_inline))
#define VELMORA_INLINE_LAMBDA __attribute__((always_inline))

// The copy of the path for processors with AVX (audio_path.h): its 128-bit
// operations get the VEX encoding (three operands, so none of the register
// copies) and its wide loops the 256-bit registers. Each lane performs the
// same operations in the same order, so the output stays the same to the
// bit; FMA is not enabled, so no multiplication and addition are fused. A
// copy gets the encoding only for what is inlined into it: hence
// VELMORA_INLINE above, and helpers that use 256-bit operations are
// VELMORA_WIDE_INLINE (wide_lanes.h).
#define VELMORA_TARGET_AVX __attribute__((target("avx")))

namespace pair {

inline Pair broadcast(double value) { return _mm_set1_pd(value); }

// A constant in both lanes, read as one aligned memory operand. The values
// live in stereo_pair.cpp, out of the compiler's sight: knowing them, it
// rebuilds each one with two instructions every frame instead.
struct alignas(16) Constant {
    double lanes[2];
    VELMORA_INLINE Pair operator()() const { return _mm_load_pd(lanes); }
};
extern const Constant kHalf, kOne, kMinusOne, kSignBit, kFloatMax, kMinusFloatMax, kDcBlockerCoefficient;

inline Pair make(double left, double right) { return _mm_set_pd(right, left); }
inline Pair zero() { return _mm_setzero_pd(); }
inline Pair signBit() { return kSignBit(); }

inline double left(Pair p) { return _mm_cvtsd_f64(p); }
inline double right(Pair p) { return _mm_cvtsd_f64(_mm_unpackhi_pd(p, p)); }

// Negates both lanes exactly (sign flip, as -x does).
inline Pair negate(Pair p) { return _mm_xor_pd(p, signBit()); }

// One frame of the host's float buffers, widened to double as `double(x)` is.
inline Pair loadFrame(const float* left, const float* right) {
    const __m128 both = _mm_unpacklo_ps(_mm_load_ss(left), _mm_load_ss(right));
    return _mm_cvtps_pd(both);
}

// Narrows both lanes to float (round to nearest, as a scalar cast does).
inline void storeFrame(Pair value, float* left, float* right) {
    const __m128 narrow = _mm_cvtpd_ps(value);
    _mm_store_ss(left, narrow);
    _mm_store_ss(right, _mm_shuffle_ps(narrow, narrow, _MM_SHUFFLE(1, 1, 1, 1)));
}

// All-ones in every lane that holds NaN or an infinity (x - x is NaN exactly then).
inline Pair nonFiniteMask(Pair p) {
    const Pair difference = _mm_sub_pd(p, p);
    return _mm_cmpunord_pd(difference, difference);
}

}  // namespace pair
