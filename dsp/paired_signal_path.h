// The effect's audio path on SSE2 pairs (wrapped by DistortionProcessor,
// which gives it 16-byte aligned storage). Two cascaded crossovers split each
// channel into three bands, each band is shaped, optionally low-passed again,
// weighted and summed. Parameters are read from the shared value array at
// sub-block starts (every 64 frames) and smoothed by linear ramps.
//
// Left and right run as the two lanes of SSE2 double pairs, and each
// sub-block is processed in passes over small stack buffers (split, shape,
// post filter, mix). Every lane performs the operations of the plain
// one-channel path (dsp/reference) in the same order, so the output is the
// same to the last bit.
//
// On request the shaping pass runs at two, four or eight times the rate
// (BandOversampler): the bands go up after the split and come down before
// the post filter, so only the curves see the raised rate.
//
// Below Mix 100 % the shaping pass also keeps the dry signal, the sounding
// bands' sum before the curves, and the mix pass blends it in. At a raised
// rate it takes band 3's lane (merged into band 3 while it sounds, see
// DryMerge), so that it comes down through the same resamplers. With a linear curve the wet sum is exactly this
// signal weighted by the levels, so the two never comb;
// a raw input delayed by whole frames would, since the crossover sum and the
// resamplers shift the phase by frequency. At Mix 100 % the lane is left
// alone and the passes are those of the effect alone.
#pragma once

#include <atomic>
#include <cstdint>

#include "audio_path.h"
#include "band_oversampler.h"
#include "cached_law.h"
#include "dry_merge.h"
#include "filter_run.h"
#include "mix_ramp.h"
#include "oversampling.h"
#include "paired_band_split_filter.h"
#include "paired_shaper.h"
#include "parameter_index.h"
#include "sub_block.h"

// A 32-bit Windows host may call with a stack aligned to 4 bytes only; the
// callbacks realign it for the 16-byte aligned buffers below them.
#if defined(__i386__)
#define VELMORA_REALIGN_STACK __attribute__((force_align_arg_pointer, noinline))
#else
#define VELMORA_REALIGN_STACK
#endif

class alignas(16) PairedSignalPath {
public:
    static constexpr int kSubBlock = kSubBlockFrames;
    static constexpr double kRampStep = 1.0 / kSubBlock;
    static constexpr double kDenormalOffset = 1.0e-18;

    // Reads parameters and sample rate from the owner; both outlive this object.
    PairedSignalPath(const std::atomic<float>* parameterValues, const std::atomic<float>* sampleRate);

    void processReplacing(float* const* inputs, float* const* outputs, int32_t frames) {
        if (pathInUse == AudioPath::Avx)
            processAvx<false>(inputs, outputs, frames);
        else
            processSse2<false>(inputs, outputs, frames);
    }
    void processAccumulating(float* const* inputs, float* const* outputs, int32_t frames) {
        if (pathInUse == AudioPath::Avx)
            processAvx<true>(inputs, outputs, frames);
        else
            processSse2<true>(inputs, outputs, frames);
    }

    // The rate the bands are shaped at. Any thread may set it; the audio
    // thread takes it up at its next sub-block, clearing the resamplers'
    // history when it changes. Everything else keeps its state.
    void setOversampling(Oversampling setting) {
        const Oversampling valid = clampedOversampling(static_cast<int>(setting));
        requestedOversampling.store(static_cast<int>(valid), std::memory_order_relaxed);
    }
    Oversampling oversampling() const {
        return clampedOversampling(requestedOversampling.load(std::memory_order_relaxed));
    }
    // The delay in host frames that a setting adds, the same at every rate:
    // the resamplers' low-frequency delay, rounded (see BandOversampler).
    static constexpr int latencyFrames(Oversampling setting) {
        return BandOversampler::latencyFrames(oversamplingFactor(setting));
    }

    // Audio thread, before a call: the dry/wet Mix (the wet share 0..1),
    // reached on a 64-frame ramp from where it is (see MixRamp), or at once.
    // The accumulating callback ignores it.
    void setMix(double share) { mixRamp.aimAt(share); }
    void startMixAt(double share) { mixRamp.jumpTo(share); }

    // Which compiled copy the calls run (audio_path.h), chosen at
    // construction. Both copies keep the same state in the same layout, so
    // tests and benchmarks may switch at any call; a copy the processor
    // lacks falls back to SSE2.
    AudioPath audioPath() const { return pathInUse; }
    void useAudioPath(AudioPath path) { pathInUse = audioPathAvailable(path) ? path : AudioPath::Sse2; }

    // Signal-path state, exposed read-only for tests and diagnostics.
    double getBandGain(int band) const { return pair::left(ramps[band].drive.value); }
    double getBandLevel(int band) const { return pair::left(ramps[band].level.value); }
    double getLeftGain(int band) const { return pair::left(ramps[band].balance.value); }
    double getRightGain(int band) const { return pair::right(ramps[band].balance.value); }
    double getMasterLevel() const { return pair::left(master.value); }

private:
    // The two copies, each instantiated in files of its own
    // (paired_signal_path_{sse2,avx}_{replacing,accumulating}.cpp) so that
    // the build compiles them side by side.
    template <bool Accumulate>
    VELMORA_REALIGN_STACK void processSse2(float* const* inputs, float* const* outputs, int32_t frames);
    template <bool Accumulate>
    VELMORA_REALIGN_STACK void processAvx(float* const* inputs, float* const* outputs, int32_t frames);
    // Calls run(routing, inL, inR, outL, outR) with the call's routing.
    template <typename Run>
    VELMORA_INLINE void route(float* const* inputs, float* const* outputs, int32_t frames, Run run);

    template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter>
    void processRoutingSse2(const float* inL, const float* inR, float* outL, float* outR, int32_t frames);
    template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter>
    VELMORA_TARGET_AVX void processRoutingAvx(const float* inL, const float* inR, float* outL, float* outR,
                                              int32_t frames);
    // The body of both copies above, inlined into each; Wide turns on the
    // 256-bit loops (the AVX copy on x86-64).
    // The calls that start below Mix 100 % run copies of their own, so the
    // loops of the effect alone stay as they are.
    template <bool Band1, bool Band2, bool Band3, bool PostFilter>
    void processMixedRoutingSse2(const float* inL, const float* inR, float* outL, float* outR, int32_t frames);
    template <bool Band1, bool Band2, bool Band3, bool PostFilter>
    VELMORA_TARGET_AVX void processMixedRoutingAvx(const float* inL, const float* inR, float* outL, float* outR,
                                                   int32_t frames);
    template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter, bool Wide, bool Mixed>
    VELMORA_INLINE void runRouting(const float* inL, const float* inR, float* outL, float* outR, int32_t frames);
    // One sub-block of n frames, carrying the dry as Dry says.
    template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter, bool Wide, DryMode Dry>
    VELMORA_INLINE void runSubBlock(const float* inL, const float* inR, float* outL, float* outR, int n,
                                    SubBlockBands& bands, FilterHistory (&history)[2]);
    template <bool Band1, bool Band2, bool Band3, bool PostFilter>
    void startSubBlock();
    // The split, then the shaping at the sub-block's rate. Inlined like the
    // stages it holds: out of line it would be a function of no target, and
    // the AVX copy's stages in it would lose the VEX encoding.
    template <bool Band1, bool Band2, bool Band3, bool Wide, DryMode Dry>
    VELMORA_INLINE void splitThenShape(const float* inL, const float* inR, int n, SubBlockBands& bands,
                                             FilterHistory (&history)[2]);
    // The shaping and mixing passes over one sub-block, each in a variant for
    // ramps that hold still throughout it (the common case once parameters
    // rest) and one for ramps that move.
    template <bool Band1, bool Band2, bool Band3, DryMode Dry>
    VELMORA_INLINE void shapeSubBlock(SubBlockBands& bands, int frames);
    template <bool Band1, bool Band2, bool Band3, DryMode Dry>
    VELMORA_INLINE void shapeRaisedSubBlock(SubBlockBands& bands, int frames);
    template <bool Band1, bool Band2, bool Band3>
    bool shapingRampsHoldStill() const;
    // The AVX copy's own parts, called once per sub-block: functions of the
    // AVX target themselves, since the 256-bit helpers inline only there.
    template <bool Band1, bool Band2, bool Band3, DryMode Dry>
    VELMORA_TARGET_AVX void shapeRaisedSubBlockWide(SubBlockBands& bands, int frames);
    // Its split with its curves, and its post filters with its mix, each
    // pair in one loop (the first at Normal, the second always).
    template <bool Band1, bool Band2, bool Band3, DryMode Dry>
    VELMORA_TARGET_AVX void splitAndShapeSkewed(const float* inL, const float* inR, int n, SubBlockBands& bands,
                                                FilterHistory (&history)[2]);
    template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter, DryMode Dry>
    VELMORA_TARGET_AVX void postFilterAndMixSkewed(SubBlockBands& bands, int n, float* outL, float* outR,
                                                   FilterHistory (&history)[2]);
    template <bool Band1, bool Band2, bool Band3>
    bool mixRampsHoldStill() const;
    template <bool Accumulate, bool Band1, bool Band2, bool Band3, DryMode Dry>
    VELMORA_INLINE void mixSubBlock(const SubBlockBands& bands, int frames, float* outL, float* outR);
    // Runs the Mix stage that fits the ramps (still or moving), then moves
    // the Mix ramp on.
    template <bool Accumulate, bool Band1, bool Band2, bool Band3, DryMode Dry, typename Run>
    VELMORA_INLINE void withMixStage(int n, Run run);

    // How the next sub-block carries the dry signal; clears the dry lane's
    // lowering history when that lane starts to come down anew.
    DryMode dryModeNow(bool band3) {
        const DryMode mode = !mixRamp.mixing() ? DryMode::None
                             : factor == 1     ? DryMode::Beside
                                               : (band3 ? DryMode::Band3 : DryMode::Lane);
        const bool laneLowers = mode == DryMode::Lane;
        if (laneLowers && !dryLaneLowered) oversampler.clearBand3Lane();
        dryLaneLowered = laneLowers;
        return mode;
    }
    void resetNonFiniteState();
    void takeUpOversampling() {
        if (requestedOversampling.load(std::memory_order_relaxed) != static_cast<int>(settingInUse)) switchRate();
    }
    void switchRate();
    PairedFilterCoefficients crossoverDesign(CachedLaw<PairedFilterCoefficients>& cache, int index, float rate);

    float parameter(int index) const { return parameterValues[index].load(std::memory_order_relaxed); }

    BandRamps ramps[3];
    PairedRamp master;
    MixRamp mixRamp;
    PairedBandSplitFilter crossover1;
    PairedBandSplitFilter crossover2;
    PairedBandSplitFilter postFilter1;
    PairedBandSplitFilter postFilter2;
    paired_shaper::PairedDcBlocker dcBlocker;
    paired_shaper::BandCurve curves[3];  // selected in the constructor from the Type values

    CachedLaw<PairedFilterCoefficients> crossover1Design;
    CachedLaw<PairedFilterCoefficients> crossover2Design;
    CachedLaw<double> driveTarget[3];
    CachedLaw<double> levelTarget[3];
    CachedLaw<double> masterTarget;

    const std::atomic<float>* parameterValues;
    const std::atomic<float>* sampleRate;
    AudioPath pathInUse = chosenAudioPath();
    double inputOffset = kDenormalOffset;
    double postFilterOffset = kDenormalOffset;

    Pair raisedDcCoefficient = pair::zero();
    int factor = 1;
    Oversampling settingInUse = Oversampling::Normal;
    std::atomic<int> requestedOversampling{0};
    // The bands of a sub-block at the raised rate, between and inside the
    // resamplers. Last, so the state Normal works on stays together.
    struct alignas(16) RaisedBands {
        FrameBands frame[kSubBlockFrames * kMaxOversamplingFactor];
        Pair drySum[kSubBlockFrames * kMaxOversamplingFactor];  // the AVX copy's, see upWide
    };
    BandOversampler oversampler;
    RaisedBands raised;
    // Whether the last sub-block lowered the dry lane; when it did not, the
    // lane's lowering history is stale and starts again from silence.
    bool dryLaneLowered = false;
    dry_merge::SubBlockWeights mergeWeights;
};
