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

// Where a pass reads each band's quad from and puts its result.
enum class PassInput {
    Pairs,      // [zeroData[2i], oneData[2i]], the chains' own frames
    Broadcast,  // source[i] in both halves: the two chains of a raising stage take the same input
};
enum class PassOutput {
    Pairs,    // back to [zeroData[2i], oneData[2i]]
    PairsAndSums,  // the same, and each of the two frames' sum of the bands in [sums[2i], sums[2i + 1]]
    Average,  // out[i], the mean of the two chains' outputs (averageChains, without the trip through memory)
};

// Sections j to j + Levels - 1 of both chains, then with Tail the section
// j + Levels that A0 has beyond A1 (the designs with an odd count), on the
// lower half alone, over n frames.
template <bool B1, bool B2, bool B3, int Levels, bool Tail, PassInput In, PassOutput Out>
VELMORA_WIDE_INLINE void packedPass(Stage& stage, int j, const FrameBands* source, FrameBands* zeroData,
                                    FrameBands* oneData, bool later, FrameBands* out, int n, Pair* sums = nullptr) {
    constexpr bool sounding[3] = {B1, B2, B3};
    AllpassChain& even = stage.chain[0];
    AllpassChain& odd = stage.chain[1];
    const int t = j + Levels;
    // A0's extra section lies within the chain's arrays (the designs have at
    // most kMaxChainSections per chain); said here for the compiler, which
    // cannot know the section counts.
    if (Tail && t >= kMaxChainSections) return;
    const Quad a = quad::join(even.coefficient[j], odd.coefficient[j]);
    const Quad c = Levels == 2 ? quad::join(even.coefficient[j + 1], odd.coefficient[j + 1]) : a;
    const Pair tailCoefficient = Tail ? even.coefficient[t] : pair::zero();
    const Pair half = pair::kHalf();
    Quad in[3], mid[3], last[3];
    Pair tailIn[3], tailOut[3];
    for (int b = 0; b < 3; ++b) {
        in[b] = quad::join(even.input[j][b], odd.input[j][b]);
        mid[b] = quad::join(even.output[j][b], odd.output[j][b]);
        last[b] = Levels == 2 ? quad::join(even.output[j + 1][b], odd.output[j + 1][b]) : mid[b];
        tailIn[b] = Tail ? even.input[t][b] : pair::zero();
        tailOut[b] = Tail ? even.output[t][b] : pair::zero();
    }
    constexpr bool kPairs = Out == PassOutput::Pairs || Out == PassOutput::PairsAndSums;
    for (int i = 0; i < n; ++i) {
        // Starting at +0 and in band order, as ShapeStage::drySum.
        Pair sumZero = pair::zero(), sumOne = pair::zero();
        Quad sum = quad::zero();  // both at once where y holds both outputs (no tail)
        for (int b = 0; b < 3; ++b) {
            if (!sounding[b]) continue;
            Quad x;
            if constexpr (In == PassInput::Broadcast)
                x = quad::broadcast(source[i][b]);
            else
                x = quad::load(zeroData[2 * i][b], oneData[2 * i][b]);
            const Quad m = step(a, x, in[b], mid[b]);
            Quad y = m;
            if constexpr (Levels == 2) y = last[b] = step(c, m, mid[b], last[b]);
            in[b] = x;
            mid[b] = m;
            Pair lower = quad::lower(y);
            if constexpr (Tail) {
                tailOut[b] = step(tailCoefficient, lower, tailIn[b], tailOut[b]);
                tailIn[b] = lower;
                lower = tailOut[b];
            }
            if constexpr (kPairs) {
                zeroData[2 * i][b] = lower;
                oneData[2 * i][b] = quad::upper(y);
                if constexpr (Out == PassOutput::PairsAndSums && Tail) {
                    sumZero = _mm_add_pd(sumZero, lower);
                    sumOne = _mm_add_pd(sumOne, quad::upper(y));
                } else if constexpr (Out == PassOutput::PairsAndSums) {
                    sum = quad::add(sum, y);
                }
            } else if (later) {
                // A1 filtered frame 2i, A0 frame 2i + 1.
                out[i][b] = _mm_mul_pd(half, _mm_add_pd(quad::upper(y), lower));
            } else {
                // A1 takes the odd inputs one pair late (see averageChains).
                out[i][b] = _mm_mul_pd(half, _mm_add_pd(lower, stage.carry[b]));
                stage.carry[b] = quad::upper(y);
            }
        }
        if constexpr (Out == PassOutput::PairsAndSums && !Tail) quad::store(sum, sums[2 * i], sums[2 * i + 1]);
        if constexpr (Out == PassOutput::PairsAndSums && Tail) {
            sums[2 * i] = sumZero;
            sums[2 * i + 1] = sumOne;
        }
    }
    for (int b = 0; b < 3; ++b) {
        even.input[j][b] = quad::lower(in[b]), odd.input[j][b] = quad::upper(in[b]);
        even.output[j][b] = quad::lower(mid[b]), odd.output[j][b] = quad::upper(mid[b]);
        if constexpr (Levels == 2) {
            even.input[j + 1][b] = quad::lower(mid[b]), odd.input[j + 1][b] = quad::upper(mid[b]);
            even.output[j + 1][b] = quad::lower(last[b]), odd.output[j + 1][b] = quad::upper(last[b]);
        }
        if constexpr (Tail) even.input[t][b] = tailIn[b], even.output[t][b] = tailOut[b];
    }
}

// The stage's last pass: one or two levels, with or without A0's extra
// section (A0 has as many sections as A1 or one more: it takes the
// even-indexed of the design's coefficients).
template <bool B1, bool B2, bool B3, PassInput In, PassOutput Out>
VELMORA_WIDE_INLINE void lastPass(Stage& stage, int j, const FrameBands* source, FrameBands* zeroData,
                                  FrameBands* oneData, bool later, FrameBands* out, int n, Pair* sums) {
    const bool tail = stage.chain[0].sections > stage.chain[1].sections;
    if (stage.chain[1].sections - j == 2) {
        if (tail)
            packedPass<B1, B2, B3, 2, true, In, Out>(stage, j, source, zeroData, oneData, later, out, n, sums);
        else
            packedPass<B1, B2, B3, 2, false, In, Out>(stage, j, source, zeroData, oneData, later, out, n, sums);
    } else if (tail) {
        packedPass<B1, B2, B3, 1, true, In, Out>(stage, j, source, zeroData, oneData, later, out, n, sums);
    } else {
        packedPass<B1, B2, B3, 1, false, In, Out>(stage, j, source, zeroData, oneData, later, out, n, sums);
    }
}

// All of a stage's sections, two levels per pass; the first pass reads
// with In, the last one writes with Out, the others work in place.
template <bool B1, bool B2, bool B3, PassInput In, PassOutput Out>
VELMORA_WIDE_INLINE void runStage(Stage& stage, const FrameBands* source, FrameBands* zeroData, FrameBands* oneData,
                                  bool later, FrameBands* out, int n, Pair* sums = nullptr) {
    const int shared = stage.chain[1].sections;
    if (shared <= 2) return lastPass<B1, B2, B3, In, Out>(stage, 0, source, zeroData, oneData, later, out, n, sums);
    packedPass<B1, B2, B3, 2, false, In, PassOutput::Pairs>(stage, 0, source, zeroData, oneData, later, out, n);
    int j = 2;
    for (; j + 2 < shared; j += 2)
        packedPass<B1, B2, B3, 2, false, PassInput::Pairs, PassOutput::Pairs>(stage, j, source, zeroData, oneData,
                                                                               later, out, n);
    lastPass<B1, B2, B3, PassInput::Pairs, Out>(stage, j, source, zeroData, oneData, later, out, n, sums);
}

}  // namespace wide

// A raising stage: n frames of `in` become 2n frames of `out`. `in` must
// not lie in `out` below out + n (the frames a pass writes before it reads
// them). With `sums`, sums[k] gets the sum of the bands of out[k].
template <bool B1, bool B2, bool B3>
VELMORA_WIDE_INLINE void raisePacked(Stage& stage, const FrameBands* in, int n, FrameBands* out,
                                     Pair* sums = nullptr) {
    if (sums)
        wide::runStage<B1, B2, B3, wide::PassInput::Broadcast, wide::PassOutput::PairsAndSums>(
            stage, in, out, out + 1, false, nullptr, n, sums);
    else
        wide::runStage<B1, B2, B3, wide::PassInput::Broadcast, wide::PassOutput::Pairs>(stage, in, out, out + 1,
                                                                                       false, nullptr, n);
}

// A lowering stage: 2n frames of `in` (overwritten) become n frames of
// `out`, which may be `in` itself; `later` as in evenChainInput.
template <bool B1, bool B2, bool B3>
VELMORA_WIDE_INLINE void lowerPacked(Stage& stage, bool later, FrameBands* in, int n, FrameBands* out) {
    wide::runStage<B1, B2, B3, wide::PassInput::Pairs, wide::PassOutput::Average>(
        stage, nullptr, evenChainInput(later, in), oddChainInput(later, in), later, out, n);
}

}  // namespace half_band
