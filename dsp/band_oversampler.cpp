#include "band_oversampler.h"

void BandOversampler::reset() {
    up0.reset();
    up1.reset();
    up2.reset();
    down0.reset();
    down1.reset();
    down2.reset();
}

void BandOversampler::clearNonFinite(int factor) {
    up0.clearNonFinite();
    down0.clearNonFinite();
    if (factor < 4) return;
    up1.clearNonFinite();
    down1.clearNonFinite();
    if (factor < 8) return;
    up2.clearNonFinite();
    down2.clearNonFinite();
}

template <int Factor>
void BandOversampler::upChain(const Pair* in, int inStride, int n, Pair* out, int outStride) {
    Pair* first = up0.input();
    for (int i = 0; i < n; ++i) first[i] = in[i * inStride];
    if constexpr (Factor == 2) {
        up0.run(n, out, outStride);
    } else if constexpr (Factor == 4) {
        up0.run(n, up1.input(), 1);
        up1.run(2 * n, out, outStride);
    } else {
        up0.run(n, up1.input(), 1);
        up1.run(2 * n, up2.input(), 1);
        up2.run(4 * n, out, outStride);
    }
}

template <int Factor>
void BandOversampler::downChain(const Pair* in, int inStride, int n, Pair* out, int outStride) {
    Pair* first = Factor == 2 ? down0.input() : (Factor == 4 ? down1.input() : down2.input());
    for (int i = 0; i < n * Factor; ++i) first[i] = in[i * inStride];
    if constexpr (Factor == 8) down2.run(4 * n, downPhase(8, 2), down1.input(), 1);
    if constexpr (Factor >= 4) down1.run(2 * n, downPhase(Factor, 1), down0.input(), 1);
    down0.run(n, downPhase(Factor, 0), out, outStride);
}

void BandOversampler::upAny(int factor, const Pair* in, int inStride, int n, Pair* out, int outStride) {
    if (factor == 2) upChain<2>(in, inStride, n, out, outStride);
    else if (factor == 4) upChain<4>(in, inStride, n, out, outStride);
    else upChain<8>(in, inStride, n, out, outStride);
}

void BandOversampler::downAny(int factor, const Pair* in, int inStride, int n, Pair* out, int outStride) {
    if (factor == 2) downChain<2>(in, inStride, n, out, outStride);
    else if (factor == 4) downChain<4>(in, inStride, n, out, outStride);
    else downChain<8>(in, inStride, n, out, outStride);
}

void BandOversampler::up(int factor, const Pair* in, int inStride, int n, Pair* out, int outStride) {
    upAny(factor, in, inStride, n, out, outStride);
}

void BandOversampler::down(int factor, const Pair* in, int inStride, int n, Pair* out, int outStride) {
    downAny(factor, in, inStride, n, out, outStride);
}

void BandOversampler::upVex(int factor, const Pair* in, int inStride, int n, Pair* out, int outStride) {
    upAny(factor, in, inStride, n, out, outStride);
}

void BandOversampler::downVex(int factor, const Pair* in, int inStride, int n, Pair* out, int outStride) {
    downAny(factor, in, inStride, n, out, outStride);
}
