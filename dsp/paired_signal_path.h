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
#pragma once

#include <atomic>
#include <cstdint>

#include "band_oversampler.h"
#include "cached_law.h"
#include "dry_tap.h"
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
        process<false>(inputs, outputs, frames);
    }
    void processAccumulating(float* const* inputs, float* const* outputs, int32_t frames) {
        process<true>(inputs, outputs, frames);
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

    // Whether the next calls also take the phase-matched dry signal of
    // each sub-block (for a dry/wet mix; see DryTap). Turning it on starts
    // the tap's resamplers from silence.
    void tapDry(bool on) {
        if (on && !dryWanted) dry.reset();
        dryWanted = on;
    }
    const DryTap& dryTap() const { return dry; }

    // Whether the calls run the VEX-encoded copy (chosen at construction when
    // the processor and the system support it); tests turn it off to check
    // the plain SSE2 copy too.
    bool usesVexEncoding() const { return vexEncoding; }
    void useVexEncoding(bool on) { vexEncoding = on && vexEncodingAvailable(); }
    static bool vexEncodingAvailable();

    // Signal-path state, exposed read-only for tests and diagnostics.
    double getBandGain(int band) const { return pair::left(ramps[band].drive.value); }
    double getBandLevel(int band) const { return pair::left(ramps[band].level.value); }
    double getLeftGain(int band) const { return pair::left(ramps[band].balance.value); }
    double getRightGain(int band) const { return pair::right(ramps[band].balance.value); }
    double getMasterLevel() const { return pair::left(master.value); }

private:
    template <bool Accumulate>
    VELMORA_REALIGN_STACK void process(float* const* inputs, float* const* outputs, int32_t frames);

    template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter>
    void processRouting(const float* inL, const float* inR, float* outL, float* outR, int32_t frames);
    template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter>
    VELMORA_TARGET_VEX void processRoutingVex(const float* inL, const float* inR, float* outL, float* outR,
                                              int32_t frames);
    // The body of both copies above, inlined into each.
    template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter>
    VELMORA_INLINE void runRouting(const float* inL, const float* inR, float* outL, float* outR, int32_t frames);

    template <bool Band1, bool Band2, bool Band3, bool PostFilter>
    void startSubBlock();
    // The shaping and mixing passes over one sub-block, each in a variant for
    // ramps that hold still throughout it (the common case once parameters
    // rest) and one for ramps that move.
    template <bool Band1, bool Band2, bool Band3>
    VELMORA_INLINE void shapeSubBlock(SubBlockBands& bands, int frames);
    template <bool Band1, bool Band2, bool Band3>
    VELMORA_INLINE void shapeRaisedSubBlock(SubBlockBands& bands, int frames);
    template <bool Accumulate, bool Band1, bool Band2, bool Band3>
    VELMORA_INLINE void mixSubBlock(const SubBlockBands& bands, int frames, float* outL, float* outR);

    void resetNonFiniteState();
    void takeUpOversampling() {
        if (requestedOversampling.load(std::memory_order_relaxed) != static_cast<int>(settingInUse)) switchRate();
    }
    void switchRate();
    PairedFilterCoefficients crossoverDesign(CachedLaw<PairedFilterCoefficients>& cache, int index, float rate);

    float parameter(int index) const { return parameterValues[index].load(std::memory_order_relaxed); }

    BandRamps ramps[3];
    PairedRamp master;
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
    bool vexEncoding = vexEncodingAvailable();
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
    };
    BandOversampler oversampler;
    RaisedBands raised;
    bool dryWanted = false;
    DryTap dry;
};
