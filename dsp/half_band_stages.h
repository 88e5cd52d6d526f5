// One half-band stage that doubles or halves the rate of a stream of
// left/right pairs, as a polyphase filter: of every two outputs (upsampler)
// or inputs (downsampler) one phase is a plain delayed copy through the
// centre tap and the other a symmetric FIR of 2K taps, so each output costs
// K multiplications. Each stage keeps its input history in front of a
// linear buffer that the previous stage writes into directly.
#pragma once

#include <cstring>

#include "half_band_design.h"
#include "stereo_pair.h"

namespace half_band {

// The symmetric FIR of one phase at `newest`, reading back 2K - 1 samples
// `spacing` pairs apart. Four partial sums keep the chain of dependent
// additions shorter than the multiplications' throughput needs.
template <int K>
VELMORA_INLINE Pair symmetricSum(const Pair* taps, const Pair* newest, int spacing) {
    auto term = [&](int i) VELMORA_INLINE_LAMBDA {
        return _mm_mul_pd(taps[i], _mm_add_pd(newest[-i * spacing], newest[-(2 * K - 1 - i) * spacing]));
    };
    Pair sums[4] = {pair::zero(), pair::zero(), pair::zero(), pair::zero()};
#pragma GCC unroll 40
    for (int i = 0; i < K; ++i) sums[i % 4] = _mm_add_pd(sums[i % 4], term(i));
    return _mm_add_pd(_mm_add_pd(sums[0], sums[1]), _mm_add_pd(sums[2], sums[3]));
}

// Clears every lane of the history that went non-finite, per channel, as
// the crossovers do; a stream of finite input then gives finite output.
template <int N>
void clearNonFiniteChannels(Pair (&history)[N], int count) {
    Pair bad = pair::zero();
    for (int i = 0; i < count; ++i) bad = _mm_or_pd(bad, pair::nonFiniteMask(history[i]));
    if (_mm_movemask_pd(bad) == 0) return;
    for (int i = 0; i < count; ++i) history[i] = _mm_andnot_pd(bad, history[i]);
}

template <int K>
void loadTaps(Pair (&taps)[K], int stage, double scale) {
    const HalfBandTaps& design = halfBandTaps(stage);
    for (int i = 0; i < K; ++i) taps[i] = pair::broadcast(scale * design.taps[i]);
}

// Doubles the rate of up to MaxIn input pairs per run.
template <int Stage, int MaxIn>
struct alignas(16) Upsampler {
    static constexpr int K = kHalfBandPairs[Stage];
    static constexpr int kHistory = 2 * K - 1;
    Pair taps[K];  // doubled: zero stuffing halves the signal's level
    Pair buffer[kHistory + MaxIn];

    Upsampler() {
        loadTaps(taps, Stage, 2.0);
        reset();
    }
    void reset() { std::memset(static_cast<void*>(buffer), 0, sizeof buffer); }
    void clearNonFinite() { clearNonFiniteChannels(buffer, kHistory); }
    Pair* input() { return buffer + kHistory; }

    // n inputs (already in input()) give 2n outputs, `stride` pairs apart.
    VELMORA_INLINE void run(int n, Pair* out, int stride) {
        for (int m = 0; m < n; ++m) {
            const Pair* newest = buffer + kHistory + m;
            out[2 * m * stride] = symmetricSum<K>(taps, newest, 1);
            out[(2 * m + 1) * stride] = newest[-(K - 1)];
        }
        std::memmove(static_cast<void*>(buffer), buffer + n, sizeof(Pair) * kHistory);
    }
};

// Halves the rate, giving up to MaxOut output pairs per run. `phase` picks
// which of each two filtered samples is kept: phase 1 keeps the later one,
// which shortens the delay by one sample of the higher rate.
template <int Stage, int MaxOut>
struct alignas(16) Downsampler {
    static constexpr int K = kHalfBandPairs[Stage];
    static constexpr int kCentre = 2 * K - 1;
    static constexpr int kHistory = 4 * K - 2;
    Pair taps[K];
    Pair buffer[kHistory + 2 * MaxOut];

    Downsampler() {
        loadTaps(taps, Stage, 1.0);
        reset();
    }
    void reset() { std::memset(static_cast<void*>(buffer), 0, sizeof buffer); }
    void clearNonFinite() { clearNonFiniteChannels(buffer, kHistory); }
    Pair* input() { return buffer + kHistory; }

    // 2n inputs (already in input()) give n outputs, `stride` pairs apart.
    VELMORA_INLINE void run(int n, int phase, Pair* out, int stride) {
        for (int m = 0; m < n; ++m) {
            const Pair* newest = buffer + kHistory + 2 * m + phase;
            const Pair centre = _mm_mul_pd(pair::kHalf(), newest[-kCentre]);
            out[m * stride] = _mm_add_pd(symmetricSum<K>(taps, newest, 2), centre);
        }
        std::memmove(static_cast<void*>(buffer), buffer + 2 * n, sizeof(Pair) * kHistory);
    }
};

}  // namespace half_band
