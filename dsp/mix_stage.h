// Stage 4 of a frame: band levels, sum, master, and the store (or the
// addition, for the accumulating callback) into the host's float buffers.
#pragma once

#include "dry_merge.h"
#include "mix_ramp.h"
#include "sub_block.h"

// With StillLevels, the level ramps of every sounding band, the master ramp
// and the Mix ramp hold still (PairedRamp::holdsStill, MixRamp::moving) for
// the sub-block and are not advanced frame by frame. Unless Mode is None,
// the output is mix * wet + (1 - mix) * dry, the dry beside the bands or in
// band 3's lane (alone while band 3 is silent, merged into it while it
// sounds: DryMerge).
template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool StillLevels, DryMode Mode = DryMode::None>
class MixStage {
    static constexpr bool kDry = Mode != DryMode::None;
    static constexpr bool kMerged = Mode == DryMode::Band3;
    static_assert(!(Accumulate && kDry), "the accumulating callback has no Mix");

public:
    MixStage(BandRamps (&ramps)[3], PairedRamp& master, const MixRamp& mixRamp)
        : ramps(ramps), master(master), mix(pair::broadcast(mixRamp.value)),
          mixStep(pair::broadcast(mixRamp.step)), mixLow(pair::broadcast(mixRamp.low)),
          mixHigh(pair::broadcast(mixRamp.high)), dryShare(_mm_sub_pd(pair::kOne(), mix)) {
        static_assert(Mode != DryMode::Lane || !Band3, "the dry takes band 3's lane only when band 3 is silent");
        static_assert(!kMerged || Band3, "the dry merges into band 3 only when band 3 sounds");
        if constexpr (kMerged) band3Weight = dry_merge::band3Weight(mix, ramps[2].level.value, master.value);
        wetScale = _mm_mul_pd(master.value, mix);
        for (int b = 0; b < 3; ++b) {
            level[b] = ramps[b].level.value;
            levelStep[b] = ramps[b].level.increment;
        }
        masterLevel = master.value;
        masterStep = master.increment;
    }

    VELMORA_INLINE void frame(const FrameBands& bands, float* outL, float* outR, const Pair* dry = nullptr) {
        // The sum starts at +0 as the scalar one does: a lone band of -0
        // must still give +0.
        Pair sum = pair::zero();
        if constexpr (Band1) sum = addBand<0>(sum, bands[0]);
        if constexpr (Band2) sum = addBand<1>(sum, bands[1]);
        if constexpr (Band3 && !kMerged) sum = addBand<2>(sum, bands[2]);
        if constexpr (kMerged && !StillLevels) level[2] = _mm_add_pd(level[2], levelStep[2]);
        if constexpr (!StillLevels) masterLevel = _mm_add_pd(masterLevel, masterStep);
        Pair out;
        if constexpr (kDry) {
            if constexpr (!StillLevels) {
                // MixRamp::nextValue on both lanes.
                mix = _mm_min_pd(_mm_max_pd(_mm_add_pd(mix, mixStep), mixLow), mixHigh);
                dryShare = _mm_sub_pd(pair::kOne(), mix);
                wetScale = _mm_mul_pd(masterLevel, mix);
            }
            // sum * (master * mix) + the dry's share: the wet share joins the
            // master, one multiplication less while the ramps hold still.
            out = _mm_mul_pd(sum, wetScale);
            if constexpr (kMerged && !StillLevels) band3Weight = dry_merge::band3Weight(mix, level[2], masterLevel);
            if constexpr (kMerged)
                out = _mm_add_pd(out, _mm_mul_pd(band3Weight, bands[2]));
            else
                out = _mm_add_pd(out, _mm_mul_pd(dryShare, Mode == DryMode::Beside ? *dry : bands[2]));
        } else {
            out = _mm_mul_pd(sum, masterLevel);
        }
        if constexpr (Accumulate) out = _mm_add_pd(pair::loadFrame(outL, outR), out);
        // Held inside the float range; max(lowest, x) and min(highest, x)
        // return x itself when it is NaN, which passes unchanged.
        out = _mm_min_pd(pair::kFloatMax(), _mm_max_pd(pair::kMinusFloatMax(), out));
        pair::storeFrame(out, outL, outR);
    }

    void finish() {
        if constexpr (Band1) ramps[0].level.value = level[0];
        if constexpr (Band2) ramps[1].level.value = level[1];
        if constexpr (Band3) ramps[2].level.value = level[2];
        master.value = masterLevel;
    }
    // The wet share of the last frame (MixRamp::advance).
    double lastMix() const { return pair::left(mix); }

private:
    template <int B>
    VELMORA_INLINE Pair addBand(Pair sum, Pair sample) {
        if constexpr (!StillLevels) level[B] = _mm_add_pd(level[B], levelStep[B]);
        return _mm_add_pd(sum, _mm_mul_pd(level[B], sample));
    }

    BandRamps (&ramps)[3];
    PairedRamp& master;
    Pair level[3], levelStep[3], masterLevel, masterStep;
    Pair mix, mixStep, mixLow, mixHigh, dryShare, wetScale, band3Weight = pair::zero();
};
