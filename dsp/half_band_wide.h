// The AVX copy's half-band stages: both chains of a stage in one pass, A0 in
// the lower half and A1 in the upper half of one 256-bit register per band.
// Each lane performs the 128-bit chain's operations in its order, on the same
// state (AllpassChain), so the bits and the state stay those of
// AllpassChain::run, and the two copies of the path may take turns.
//
// Half as many instructions as two 128-bit passes; the three bands' quads
// still give three independent recursions per section, as in AllpassChain.
#pragma once

#include "half_band_stages.h"
#include "wide_lanes.h"

namespace half_band {

namespace wide {

// y = a x + x' - a y', as AllpassChain::step.
VELMORA_WIDE_INLINE Quad step(Quad a, Quad x, Quad previousIn, Quad previousOut) {
    return quad::sub(quad::add(quad::mul(a, x), previousIn), quad::mul(a, previousOut));
}
VELMORA_WIDE_INLINE Pair step(Pair a, Pair x, Pair previousIn, Pair previousOut) {
    return _mm_sub_pd(_mm_add_pd(_mm_mul_pd(a, x), previousIn), _mm_mul_pd(a, previousOut));
}

// Sections j to j + Levels - 1 of both chains, then with Tail the section
// j + Levels that A0 has beyond A1 (the designs with an odd count), on the
// lower half alone.
template <bool B1, bool B2, bool B3, int Levels, bool Tail>
VELMORA_WIDE_INLINE void packedPass(Stage& stage, int j, FrameBands* zeroData, FrameBands* oneData, int n) {
    constexpr bool sounding[3] = {B1, B2, B3};
    AllpassChain& even = stage.chain[0];
    AllpassChain& odd = stage.chain[1];
    const int t = j + Levels;
    const Quad a = quad::join(even.coefficient[j], odd.coefficient[j]);
    const Quad c = Levels == 2 ? quad::join(even.coefficient[j + 1], odd.coefficient[j + 1]) : a;
    const Pair tailCoefficient = Tail ? even.coefficient[t] : pair::zero();
    Quad in[3], mid[3], out[3];
    Pair tailIn[3], tailOut[3];
    for (int b = 0; b < 3; ++b) {
        in[b] = quad::join(even.input[j][b], odd.input[j][b]);
        mid[b] = quad::join(even.output[j][b], odd.output[j][b]);
        out[b] = Levels == 2 ? quad::join(even.output[j + 1][b], odd.output[j + 1][b]) : mid[b];
        tailIn[b] = Tail ? even.input[t][b] : pair::zero();
        tailOut[b] = Tail ? even.output[t][b] : pair::zero();
    }
    for (int i = 0; i < n; ++i) {
        FrameBands& zero = zeroData[2 * i];
        FrameBands& one = oneData[2 * i];
        for (int b = 0; b < 3; ++b) {
            if (!sounding[b]) continue;
            const Quad x = quad::load(zero[b], one[b]);
            const Quad m = step(a, x, in[b], mid[b]);
            Quad y = m;
            if constexpr (Levels == 2) y = out[b] = step(c, m, mid[b], out[b]);
            in[b] = x;
            mid[b] = m;
            if constexpr (Tail) {
                const Pair last = quad::lower(y);
                tailOut[b] = step(tailCoefficient, last, tailIn[b], tailOut[b]);
                tailIn[b] = last;
                y = quad::join(tailOut[b], quad::upper(y));
            }
            quad::store(y, zero[b], one[b]);
        }
    }
    for (int b = 0; b < 3; ++b) {
        even.input[j][b] = quad::lower(in[b]), odd.input[j][b] = quad::upper(in[b]);
        even.output[j][b] = quad::lower(mid[b]), odd.output[j][b] = quad::upper(mid[b]);
        if constexpr (Levels == 2) {
            even.input[j + 1][b] = quad::lower(mid[b]), odd.input[j + 1][b] = quad::upper(mid[b]);
            even.output[j + 1][b] = quad::lower(out[b]), odd.output[j + 1][b] = quad::upper(out[b]);
        }
        if constexpr (Tail) even.input[t][b] = tailIn[b], even.output[t][b] = tailOut[b];
    }
}

}  // namespace wide

// Stage::run for the AVX copy. A0 has as many sections as A1 or one more
// (it takes the even-indexed of the design's coefficients).
template <bool B1, bool B2, bool B3>
VELMORA_WIDE_INLINE void runPacked(Stage& stage, FrameBands* zeroData, FrameBands* oneData, int n) {
    const int shared = stage.chain[1].sections;
    const bool tail = stage.chain[0].sections > shared;
    int j = 0;
    for (; j + 2 < shared; j += 2) wide::packedPass<B1, B2, B3, 2, false>(stage, j, zeroData, oneData, n);
    if (shared - j == 2) {
        if (tail)
            wide::packedPass<B1, B2, B3, 2, true>(stage, j, zeroData, oneData, n);
        else
            wide::packedPass<B1, B2, B3, 2, false>(stage, j, zeroData, oneData, n);
    } else if (tail) {
        wide::packedPass<B1, B2, B3, 1, true>(stage, j, zeroData, oneData, n);
    } else {
        wide::packedPass<B1, B2, B3, 1, false>(stage, j, zeroData, oneData, n);
    }
}

}  // namespace half_band
