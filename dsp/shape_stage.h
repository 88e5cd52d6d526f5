// Stage 2 of a frame: balance, drive and curve for every sounding band, in
// band order, because every band set to "Saturation3" advances the one shared
// DC blocker in that order. Each band's Type is read every frame, as the
// scalar path reads it; only a change of its bits selects the curve anew.
#pragma once

#include <atomic>

#include "dry_merge.h"
#include "oversampling.h"
#include "paired_shaper.h"
#include "sub_block.h"
#include "wide_lanes.h"

// With StillGains, the balance and drive ramps of every sounding band hold
// still (PairedRamp::holdsStill) for the sub-block: their product is then
// the same each frame and is formed once. Mode says where the dry signal of
// Mix goes (DryMode): at Normal beside the bands, at a raised rate into band
// 3's lane when band 3 is silent, merged into band 3 with the frame's
// `merge` weights when it sounds.
template <bool Band1, bool Band2, bool Band3, bool StillGains, DryMode Mode = DryMode::None>
class ShapeStage {
    static_assert(Mode != DryMode::Lane || !Band3, "the dry takes band 3's lane only when band 3 is silent");
    static_assert(Mode != DryMode::Band3 || Band3, "the dry merges into band 3 only when band 3 sounds");

public:
    ShapeStage(BandRamps (&ramps)[3], paired_shaper::BandCurve (&curves)[3], const std::atomic<float>* typeValues,
               paired_shaper::PairedDcBlocker& dc)
        : ramps(ramps), curves(curves), typeValues(typeValues), dcBlocker(dc), dc(dc) {
        for (int b = 0; b < 3; ++b) {
            balance[b] = ramps[b].balance.value;
            balanceStep[b] = ramps[b].balance.increment;
            drive[b] = ramps[b].drive.value;
            driveStep[b] = ramps[b].drive.increment;
            gain[b] = _mm_mul_pd(balance[b], drive[b]);
        }
    }

    // At Normal; with DryMode::Beside the frame's dry goes to `dry`.
    VELMORA_INLINE void frame(FrameBands& bands, Pair* dry = nullptr) {
        static_assert(Mode == DryMode::None || Mode == DryMode::Beside, "at Normal the dry goes beside the bands");
        if constexpr (Mode == DryMode::Beside) *dry = drySum(bands);
        if constexpr (Band1) band<0>(bands[0]);
        if constexpr (Band2) band<1>(bands[1]);
        if constexpr (Band3) band<2>(bands[2]);
    }

    // One host frame's `factor` samples at a raised rate, all shaped with
    // that frame's gains, so the ramps keep their length in host frames.
    // Each band's Type is read once per host frame, as at Normal: when every
    // sounding band keeps its table curve, the samples skip the reads.
    VELMORA_INLINE void raisedFrame(FrameBands* frames, int factor, Pair dcCoefficient,
                                    const dry_merge::Weights* merge = nullptr) {
        advanceGains();
        if (!holdsTableCurves()) {
            Pair sums[kMaxOversamplingFactor];
            if constexpr (Mode != DryMode::None)
                for (int j = 0; j < factor; ++j) sums[j] = drySum(frames[j]);
            shapeRaisedCurves(frames, factor, dcCoefficient);
            if constexpr (Mode != DryMode::None)
                for (int j = 0; j < factor; ++j) placeDry(frames[j], sums[j], merge);
            return;
        }
        for (int j = 0; j < factor; ++j) {
            const Pair sum = Mode != DryMode::None ? drySum(frames[j]) : pair::zero();
            if constexpr (Band1) frames[j][0] = curves[0].tableShape(_mm_mul_pd(gain[0], frames[j][0]));
            if constexpr (Band2) frames[j][1] = curves[1].tableShape(_mm_mul_pd(gain[1], frames[j][1]));
            if constexpr (Band3) frames[j][2] = curves[2].tableShape(_mm_mul_pd(gain[2], frames[j][2]));
            placeDry(frames[j], sum, merge);
        }
    }
    // The same in the AVX copy: a band's table lookups two raised-rate
    // samples at a time (factor is even). The lookups share no state, so
    // their order does not matter. The raising resamplers left each raised
    // frame's dry sum in `sums` (BandOversampler::upWide).
    VELMORA_WIDE_INLINE void raisedFrameWide(FrameBands* frames, int factor, Pair dcCoefficient,
                                             const dry_merge::Weights* merge = nullptr, const Pair* sums = nullptr) {
        advanceGains();
        if (!holdsTableCurves()) {
            shapeRaisedCurves(frames, factor, dcCoefficient);
            if constexpr (Mode != DryMode::None)
                for (int j = 0; j < factor; ++j) placeDry(frames[j], sums[j], merge);
            return;
        }
        if constexpr (Mode == DryMode::Lane)
            for (int j = 0; j < factor; ++j) frames[j][2] = sums[j];
        if constexpr (Band1) tableShapeWide<0>(frames, factor);
        if constexpr (Band2) tableShapeWide<1>(frames, factor);
        if constexpr (Band3) tableShapeWide<2>(frames, factor, merge, sums);
    }

    void finish() {
        dcBlocker = dc;
        for (int b = 0; b < 3; ++b) {
            if (!kSounding[b]) continue;
            ramps[b].balance.value = balance[b];
            ramps[b].drive.value = drive[b];
        }
    }

private:
    static constexpr bool kSounding[3] = {Band1, Band2, Band3};

    // Starting at +0, as the mix's sum does: a lone band of -0 gives +0.
    static VELMORA_INLINE Pair drySum(const FrameBands& bands) {
        Pair sum = pair::zero();
        if constexpr (Band1) sum = _mm_add_pd(sum, bands[0]);
        if constexpr (Band2) sum = _mm_add_pd(sum, bands[1]);
        if constexpr (Band3) sum = _mm_add_pd(sum, bands[2]);
        return sum;
    }
    // keep * shaped band 3 + dry * dry sum (DryMerge).
    static VELMORA_INLINE Pair merged(Pair shaped, Pair sum, const dry_merge::Weights& merge) {
        return _mm_add_pd(_mm_mul_pd(merge.keep, shaped), _mm_mul_pd(merge.dry, sum));
    }
    // A shaped frame's band 3 lane after the dry joins it.
    static VELMORA_INLINE void placeDry(FrameBands& bands, Pair sum, const dry_merge::Weights* merge) {
        if constexpr (Mode == DryMode::Lane) bands[2] = sum;
        if constexpr (Mode == DryMode::Band3) bands[2] = merged(bands[2], sum, *merge);
    }
    template <int B>
    VELMORA_INLINE void band(Pair& sample) {
        advanceGain<B>();
        sample = shaped<B>(sample, dc);
    }
    VELMORA_INLINE void advanceGains() {
        if constexpr (Band1) advanceGain<0>();
        if constexpr (Band2) advanceGain<1>();
        if constexpr (Band3) advanceGain<2>();
    }
    VELMORA_INLINE bool holdsTableCurves() const {
        bool tables = true;
        if constexpr (Band1) tables = tables && curves[0].holdsTableCurve(typeValues[0]);
        if constexpr (Band2) tables = tables && curves[1].holdsTableCurve(typeValues[1]);
        if constexpr (Band3) tables = tables && curves[2].holdsTableCurve(typeValues[2]);
        return tables;
    }
    VELMORA_INLINE void shapeRaisedCurves(FrameBands* frames, int factor, Pair dcCoefficient) {
        paired_shaper::RaisedRateDcBlocker raisedDc{dc, dcCoefficient};
        for (int j = 0; j < factor; ++j) {
            if constexpr (Band1) frames[j][0] = shaped<0>(frames[j][0], raisedDc);
            if constexpr (Band2) frames[j][1] = shaped<1>(frames[j][1], raisedDc);
            if constexpr (Band3) frames[j][2] = shaped<2>(frames[j][2], raisedDc);
        }
    }
    // Band 3 with DryMode::Band3 merges the dry sums in as merged() does.
    template <int B>
    VELMORA_WIDE_INLINE void tableShapeWide(FrameBands* frames, int factor, const dry_merge::Weights* merge = nullptr,
                                            const Pair* sums = nullptr) {
        const paired_shaper::BandCurve& curve = curves[B];
        const Quad g = quad::broadcast(gain[B]), scale = quad::broadcast(curve.scale);
        const Quad last = quad::broadcast(curve.last);
        constexpr bool kMerging = Mode == DryMode::Band3 && B == 2;
        const Quad keep = kMerging ? quad::broadcast(merge->keep) : quad::zero();
        const Quad dry = kMerging ? quad::broadcast(merge->dry) : quad::zero();
        for (int j = 0; j < factor; j += 2) {
            const Quad x = quad::mul(g, quad::load(frames[j][B], frames[j + 1][B]));
            Quad y = quad::oddLookup(x, scale, last, curve.table);
            if constexpr (kMerging)
                y = quad::add(quad::mul(keep, y), quad::mul(dry, _mm256_loadu_pd(reinterpret_cast<const double*>(sums + j))));
            quad::store(y, frames[j][B], frames[j + 1][B]);
        }
    }
    template <int B>
    VELMORA_INLINE void advanceGain() {
        if constexpr (!StillGains) {
            balance[B] = _mm_add_pd(balance[B], balanceStep[B]);
            drive[B] = _mm_add_pd(drive[B], driveStep[B]);
            gain[B] = _mm_mul_pd(balance[B], drive[B]);
        }
    }
    // (side gain x drive) x sample, the scalar grouping.
    template <int B, typename DcBlocker>
    VELMORA_INLINE Pair shaped(Pair sample, DcBlocker& blocker) {
        return curves[B].shape(typeValues[B], _mm_mul_pd(gain[B], sample), blocker);
    }

    BandRamps (&ramps)[3];
    paired_shaper::BandCurve (&curves)[3];
    const std::atomic<float>* typeValues;
    paired_shaper::PairedDcBlocker& dcBlocker;
    // A copy for the loop, so the shared blocker's recursion stays in
    // registers instead of going through memory every frame and band.
    paired_shaper::PairedDcBlocker dc;
    Pair balance[3], balanceStep[3], drive[3], driveStep[3], gain[3];
};
