// Two left/right pairs in one 256-bit AVX register (a "quad"): the lower
// half and the upper half each hold a Pair, and every lane performs the
// scalar operation, so a quad computes the bits of two Pairs.
//
// Every helper here is VELMORA_WIDE_INLINE: it must be inlined into the AVX
// copy of the path (stereo_pair.h), the only code that calls it; a call from
// the SSE2 copy does not compile.
#pragma once

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

#include "stereo_pair.h"

#define VELMORA_WIDE_INLINE inline __attribute__((always_inline, target("avx")))
#define VELMORA_WIDE_INLINE_LAMBDA __attribute__((always_inline, target("avx")))

using Quad = __m256d;

namespace quad {

VELMORA_WIDE_INLINE Quad join(Pair lower, Pair upper) {
    return _mm256_insertf128_pd(_mm256_castpd128_pd256(lower), upper, 1);
}
VELMORA_WIDE_INLINE Quad load(const Pair& lower, const Pair& upper) {
    return _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_load_pd(reinterpret_cast<const double*>(&lower))),
                                _mm_load_pd(reinterpret_cast<const double*>(&upper)), 1);
}
VELMORA_WIDE_INLINE Pair lower(Quad q) { return _mm256_castpd256_pd128(q); }
VELMORA_WIDE_INLINE Pair upper(Quad q) { return _mm256_extractf128_pd(q, 1); }
VELMORA_WIDE_INLINE void store(Quad q, Pair& lowerTo, Pair& upperTo) {
    _mm_store_pd(reinterpret_cast<double*>(&lowerTo), lower(q));
    _mm_store_pd(reinterpret_cast<double*>(&upperTo), upper(q));
}
VELMORA_WIDE_INLINE Quad broadcast(Pair p) { return join(p, p); }
VELMORA_WIDE_INLINE Quad zero() { return _mm256_setzero_pd(); }

VELMORA_WIDE_INLINE Quad add(Quad a, Quad b) { return _mm256_add_pd(a, b); }
VELMORA_WIDE_INLINE Quad sub(Quad a, Quad b) { return _mm256_sub_pd(a, b); }
VELMORA_WIDE_INLINE Quad mul(Quad a, Quad b) { return _mm256_mul_pd(a, b); }

// paired_shaper::oddLookup on four lanes reading one table (see there for
// why each step gives the scalar bits).
VELMORA_WIDE_INLINE Quad oddLookup(Quad x, Quad scale, Quad last, const double* table) {
    const Quad signBit = broadcast(pair::signBit());
    const Quad v = _mm256_mul_pd(x, scale);
    const Quad magnitude = _mm256_andnot_pd(signBit, v);
    const Quad p = _mm256_min_pd(_mm256_max_pd(magnitude, zero()), last);
    const __m128i index = _mm256_cvttpd_epi32(p);
    const Quad fraction = _mm256_sub_pd(p, _mm256_cvtepi32_pd(index));
    auto entry = [table](int i) VELMORA_INLINE_LAMBDA {
        return _mm_loadu_pd(table + 2 * static_cast<size_t>(static_cast<uint32_t>(i)));  // T[i], T[i+1] - T[i]
    };
    // Lanes 0 and 2 in one register, 1 and 3 in the other; unpacking them
    // gives the four entries and the four steps in lane order.
    const Quad even = join(entry(_mm_cvtsi128_si32(index)), entry(_mm_extract_epi32(index, 2)));
    const Quad odd = join(entry(_mm_extract_epi32(index, 1)), entry(_mm_extract_epi32(index, 3)));
    const Quad y = _mm256_add_pd(_mm256_unpacklo_pd(even, odd), _mm256_mul_pd(fraction, _mm256_unpackhi_pd(even, odd)));
    const Quad flip = _mm256_andnot_pd(_mm256_cmp_pd(v, zero(), _CMP_GT_OS), signBit);
    return _mm256_xor_pd(y, flip);
}

}  // namespace quad
