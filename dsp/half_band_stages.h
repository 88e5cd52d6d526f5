// One half-band stage that doubles or halves the rate of the bands' streams
// of left/right pairs, as two chains of first-order allpass sections
// (half_band_design.h). Upsampling runs the host-rate input through both
// chains, one giving the even outputs, the other the odd ones; downsampling
// runs the even inputs through one chain, the odd ones through the other,
// and averages the two. Each chain works in place on every other frame of
// the raised-rate buffer.
//
// A section's recursion waits on its own last output, so the loops carry all
// sounding bands at once (three independent recursions) and run two sections
// per pass, which keeps the multiplier and adders busy instead of waiting on
// one chain. The raised-rate buffer holds each frame's three bands side by
// side (FrameBands), so a pass reads them from one place.
#pragma once

#include "half_band_design.h"
#include "stereo_pair.h"
#include "sub_block.h"

namespace half_band {

constexpr int kMaxChainSections = (kMaxHalfBandCoefficients + 1) / 2;

// One chain's sections and their state: each section's last input and last
// output, per band. Within a pass a section's output is the next one's
// input; between passes each keeps its own copy, because a pass overwrites
// the buffer before the next pass reads what it held.
struct alignas(16) AllpassChain {
    Pair coefficient[kMaxChainSections];
    Pair input[kMaxChainSections][3];
    Pair output[kMaxChainSections][3];
    int sections = 0;

    void load(const HalfBandDesign& design, int first) {
        sections = 0;
        for (int i = first; i < design.count; i += 2) coefficient[sections++] = pair::broadcast(design.coefficients[i]);
        reset();
    }
    void reset() {
        for (int j = 0; j < kMaxChainSections; ++j)
            for (int b = 0; b < 3; ++b) input[j][b] = output[j][b] = pair::zero();
    }
    // Clears every lane that went non-finite, per band and channel: the
    // recursion would otherwise carry it for good.
    void clearNonFinite() {
        for (int b = 0; b < 3; ++b) {
            Pair bad = pair::zero();
            for (int j = 0; j < sections; ++j)
                bad = _mm_or_pd(bad, _mm_or_pd(pair::nonFiniteMask(input[j][b]), pair::nonFiniteMask(output[j][b])));
            for (int j = 0; j < sections; ++j) {
                input[j][b] = _mm_andnot_pd(bad, input[j][b]);
                output[j][b] = _mm_andnot_pd(bad, output[j][b]);
            }
        }
    }

    // All sections over n frames `stride` frames apart, in place.
    template <bool B1, bool B2, bool B3>
    VELMORA_INLINE void run(FrameBands* data, int stride, int n) {
        int j = 0;
        for (; j + 1 < sections; j += 2) twoSections<B1, B2, B3>(j, data, stride, n);
        if (j < sections) oneSection<B1, B2, B3>(j, data, stride, n);
    }

    // Two chains of one section each in one pass over their own frames: six
    // independent recursions instead of three keep the pass from waiting on them.
    template <bool B1, bool B2, bool B3>
    static VELMORA_INLINE void runSingles(AllpassChain& first, FrameBands* firstData, AllpassChain& second,
                                          FrameBands* secondData, int stride, int n) {
        constexpr bool sounding[3] = {B1, B2, B3};
        const Pair a = first.coefficient[0], c = second.coefficient[0];
        Pair in[2][3], out[2][3];
        for (int b = 0; b < 3; ++b) {
            in[0][b] = first.input[0][b], out[0][b] = first.output[0][b];
            in[1][b] = second.input[0][b], out[1][b] = second.output[0][b];
        }
        for (int i = 0; i < n; ++i) {
            FrameBands& one = firstData[i * stride];
            FrameBands& other = secondData[i * stride];
            for (int b = 0; b < 3; ++b) {
                if (!sounding[b]) continue;
                const Pair x = one[b], y = other[b];
                out[0][b] = step(a, x, in[0][b], out[0][b]);
                out[1][b] = step(c, y, in[1][b], out[1][b]);
                in[0][b] = x;
                in[1][b] = y;
                one[b] = out[0][b];
                other[b] = out[1][b];
            }
        }
        for (int b = 0; b < 3; ++b) {
            first.input[0][b] = in[0][b], first.output[0][b] = out[0][b];
            second.input[0][b] = in[1][b], second.output[0][b] = out[1][b];
        }
    }

private:
    // y = a x + x' - a y': only the last multiplication and subtraction wait
    // on the previous output, a shorter recursion than a (x - y') + x'.
    static VELMORA_INLINE Pair step(Pair a, Pair x, Pair previousIn, Pair previousOut) {
        return _mm_sub_pd(_mm_add_pd(_mm_mul_pd(a, x), previousIn), _mm_mul_pd(a, previousOut));
    }

    template <bool B1, bool B2, bool B3>
    VELMORA_INLINE void oneSection(int j, FrameBands* data, int stride, int n) {
        constexpr bool sounding[3] = {B1, B2, B3};
        const Pair a = coefficient[j];
        Pair in[3], out[3];
        for (int b = 0; b < 3; ++b) in[b] = input[j][b], out[b] = output[j][b];
        for (int i = 0; i < n; ++i) {
            FrameBands& frame = data[i * stride];
            for (int b = 0; b < 3; ++b) {
                if (!sounding[b]) continue;
                const Pair x = frame[b];
                out[b] = step(a, x, in[b], out[b]);
                in[b] = x;
                frame[b] = out[b];
            }
        }
        for (int b = 0; b < 3; ++b) input[j][b] = in[b], output[j][b] = out[b];
    }

    template <bool B1, bool B2, bool B3>
    VELMORA_INLINE void twoSections(int j, FrameBands* data, int stride, int n) {
        constexpr bool sounding[3] = {B1, B2, B3};
        const Pair a = coefficient[j], c = coefficient[j + 1];
        Pair in[3], mid[3], out[3];
        for (int b = 0; b < 3; ++b) in[b] = input[j][b], mid[b] = output[j][b], out[b] = output[j + 1][b];
        for (int i = 0; i < n; ++i) {
            FrameBands& frame = data[i * stride];
            for (int b = 0; b < 3; ++b) {
                if (!sounding[b]) continue;
                const Pair x = frame[b];
                const Pair m = step(a, x, in[b], mid[b]);
                out[b] = step(c, m, mid[b], out[b]);
                in[b] = x;
                mid[b] = m;
                frame[b] = out[b];
            }
        }
        for (int b = 0; b < 3; ++b) input[j][b] = in[b], output[j][b] = input[j + 1][b] = mid[b], output[j + 1][b] = out[b];
    }
};

// A stage's two chains, A0 (even coefficients) and A1 (odd ones).
struct alignas(16) Stage {
    AllpassChain chain[2];
    Pair carry[3];  // the downsampler's A1 output held for the next pair


    void load(int stage) {
        const HalfBandDesign& design = halfBandDesign(stage);
        chain[0].load(design, 0);
        chain[1].load(design, 1);
    }
    void reset() {
        chain[0].reset();
        chain[1].reset();
        for (Pair& value : carry) value = pair::zero();
    }
    // A0 over every other frame from `zeroData`, A1 from `oneData`.
    template <bool B1, bool B2, bool B3>
    VELMORA_INLINE void run(FrameBands* zeroData, FrameBands* oneData, int n) {
        if (chain[0].sections == 1 && chain[1].sections == 1) {
            AllpassChain::runSingles<B1, B2, B3>(chain[0], zeroData, chain[1], oneData, 2, n);
            return;
        }
        chain[0].run<B1, B2, B3>(zeroData, 2, n);
        chain[1].run<B1, B2, B3>(oneData, 2, n);
    }
    // Silence in one band's history, the others kept.
    void clearBand(int band) {
        for (AllpassChain& c : chain)
            for (int j = 0; j < kMaxChainSections; ++j) c.input[j][band] = c.output[j][band] = pair::zero();
        carry[band] = pair::zero();
    }
    void clearNonFinite() {
        chain[0].clearNonFinite();
        chain[1].clearNonFinite();
        for (Pair& value : carry) value = _mm_andnot_pd(pair::nonFiniteMask(value), value);
    }
};

// Before a stage raises the rate: n frames of `in` become 2n frames of
// `out`, each twice, for the stage's two chains to filter in place. `out`
// may start at `in` (the copy runs backwards for that).
template <bool B1, bool B2, bool B3>
VELMORA_INLINE void spread(const FrameBands* in, int n, FrameBands* out) {
    constexpr bool sounding[3] = {B1, B2, B3};
    for (int i = n - 1; i >= 0; --i)
        for (int b = 0; b < 3; ++b)
            if (sounding[b]) out[2 * i][b] = out[2 * i + 1][b] = in[i][b];
}

// When a stage lowers the rate, A0 filters the even inputs and A1 the odd
// ones; with `later` set, the other way round, so that output m is the
// filter's output at input 2m + 1 (one input sample less delay) instead of
// at 2m.
inline FrameBands* evenChainInput(bool later, FrameBands* in) { return later ? in + 1 : in; }
inline FrameBands* oddChainInput(bool later, FrameBands* in) { return later ? in : in + 1; }

// After the chains of a lowering stage ran over 2n frames of `in`: their
// averages, n frames of `out`, which may be `in` itself.
template <bool B1, bool B2, bool B3>
VELMORA_INLINE void averageChains(Stage& stage, bool later, const FrameBands* in, int n, FrameBands* out) {
    constexpr bool sounding[3] = {B1, B2, B3};
    const Pair half = pair::kHalf();
    if (later) {
        for (int i = 0; i < n; ++i)
            for (int b = 0; b < 3; ++b)
                if (sounding[b]) out[i][b] = _mm_mul_pd(half, _mm_add_pd(in[2 * i][b], in[2 * i + 1][b]));
        return;
    }
    // A1 takes the odd inputs one pair late: output m pairs A0(x[2m]) with
    // A1(x[2m - 1]), carried over from the previous run.
    for (int i = 0; i < n; ++i)
        for (int b = 0; b < 3; ++b) {
            if (!sounding[b]) continue;
            const Pair odd = in[2 * i + 1][b];
            out[i][b] = _mm_mul_pd(half, _mm_add_pd(in[2 * i][b], stage.carry[b]));
            stage.carry[b] = odd;
        }
}

}  // namespace half_band
