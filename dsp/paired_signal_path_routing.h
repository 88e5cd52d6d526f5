// The routed loops of PairedSignalPath: the sub-block passes and the
// per-routing copies (SSE2 and AVX) that processSse2 and processAvx pick
// from. Included by the four files that instantiate them, one for each copy
// and callback, so the compiler builds the many copies on two cores at once.
#pragma once

#include <algorithm>
#include <type_traits>

#include "band_routing.h"
#include "mix_stage.h"
#include "paired_signal_path.h"
#include "parameter_laws.h"
#include "post_filter_stage.h"
#include "shape_stage.h"
#include "split_stage.h"

// The 256-bit loops need sixteen vector registers: on 32-bit x86 the AVX
// copy keeps the 128-bit loops, VEX-encoded.
#if defined(__x86_64__)
constexpr bool kWideLanes = true;
#else
constexpr bool kWideLanes = false;
#endif

template <typename Run>
void PairedSignalPath::route(float* const* inputs, float* const* outputs, int32_t frames, Run run) {
    if (frames <= 0 || !inputs || !outputs) return;
    const float* inL = inputs[0];
    const float* inR = inputs[1];
    float* outL = outputs[0];
    float* outR = outputs[1];
    if (!inL || !inR || !outL || !outR) return;
    // Routing is fixed for the whole call; each routing is its own loop.
    withBandRouting(parameter(kPFilter), parameter(kSolo1), parameter(kSolo2), parameter(kSolo3),
                    [&](auto routing) { run(routing, inL, inR, outL, outR); });
}

template <bool Accumulate>
void PairedSignalPath::processSse2(float* const* inputs, float* const* outputs, int32_t frames) {
    route(inputs, outputs, frames, [&](auto routing, const float* inL, const float* inR, float* outL, float* outR) {
        using R = decltype(routing);
        if (!Accumulate && mixRamp.mixing())
            processMixedRoutingSse2<R::band1, R::band2, R::band3, R::postFilter>(inL, inR, outL, outR, frames);
        else
            processRoutingSse2<Accumulate, R::band1, R::band2, R::band3, R::postFilter>(inL, inR, outL, outR, frames);
    });
}

template <bool Accumulate>
void PairedSignalPath::processAvx(float* const* inputs, float* const* outputs, int32_t frames) {
    route(inputs, outputs, frames, [&](auto routing, const float* inL, const float* inR, float* outL, float* outR) {
        using R = decltype(routing);
        if (!Accumulate && mixRamp.mixing())
            processMixedRoutingAvx<R::band1, R::band2, R::band3, R::postFilter>(inL, inR, outL, outR, frames);
        else
            processRoutingAvx<Accumulate, R::band1, R::band2, R::band3, R::postFilter>(inL, inR, outL, outR, frames);
    });
}

template <bool Band1, bool Band2, bool Band3, bool PostFilter>
void PairedSignalPath::startSubBlock() {
    takeUpOversampling();
    resetNonFiniteState();

    const float rate = sampleRate->load(std::memory_order_relaxed);
    if constexpr (Band1 || Band2) {
        crossover1.coefficients = crossoverDesign(crossover1Design, kCross1, rate);
        if constexpr (PostFilter && Band1) postFilter1.coefficients = crossover1.coefficients;
    }
    if constexpr (Band2 || Band3) {
        crossover2.coefficients = crossoverDesign(crossover2Design, kCross2, rate);
        if constexpr (PostFilter && Band2) postFilter2.coefficients = crossover2.coefficients;
    }
    constexpr bool sounding[3] = {Band1, Band2, Band3};
    for (int b = 0; b < 3; ++b) {
        if (!sounding[b]) continue;
        const float balance = parameter(kBalance1 + b);
        const float gain = parameter(kGain1 + b);
        const float level = parameter(kLevel1 + b);
        ramps[b].balance.aimAt(pair::make(laws::guarded(laws::balanceLeft, balance),
                                          laws::guarded(laws::balanceRight, balance)),
                               kRampStep);
        const double drive = driveTarget[b].get(floatBits(gain), [&] { return laws::guarded(laws::drive, gain); });
        ramps[b].drive.aimAt(pair::broadcast(drive), kRampStep);
        const double bandLevel =
            levelTarget[b].get(floatBits(level), [&] { return laws::guarded(laws::level, level); });
        ramps[b].level.aimAt(pair::broadcast(bandLevel), kRampStep);
    }
    const float masterValue = parameter(kMaster);
    master.aimAt(pair::broadcast(masterTarget.get(floatBits(masterValue),
                                                  [&] { return laws::guarded(laws::level, masterValue); })),
                 kRampStep);
}

template <bool Band1, bool Band2, bool Band3>
bool PairedSignalPath::shapingRampsHoldStill() const {
    constexpr bool sounding[3] = {Band1, Band2, Band3};
    bool still = true;
    for (int b = 0; b < 3; ++b)
        if (sounding[b]) still = still && ramps[b].balance.holdsStill() && ramps[b].drive.holdsStill();
    return still;
}

template <bool Band1, bool Band2, bool Band3, DryMode Dry>
void PairedSignalPath::shapeSubBlock(SubBlockBands& bands, int frames) {
    auto run = [&](auto shape) VELMORA_INLINE_LAMBDA {
        for (int i = 0; i < frames; ++i) shape.frame(bands.frame[i], bands.dry + i);
        shape.finish();
    };
    if (shapingRampsHoldStill<Band1, Band2, Band3>())
        run(ShapeStage<Band1, Band2, Band3, true, Dry>(ramps, curves, parameterValues + kType1, dcBlocker));
    else
        run(ShapeStage<Band1, Band2, Band3, false, Dry>(ramps, curves, parameterValues + kType1, dcBlocker));
}

template <bool Band1, bool Band2, bool Band3, DryMode Dry>
void PairedSignalPath::shapeRaisedSubBlock(SubBlockBands& bands, int frames) {
    oversampler.up<Band1, Band2, Band3>(factor, bands.frame, frames, raised.frame);
    auto run = [&](auto shape) VELMORA_INLINE_LAMBDA {
        for (int i = 0; i < frames; ++i)
            shape.raisedFrame(raised.frame + i * factor, factor, raisedDcCoefficient, &mergeWeights.at(i));
        shape.finish();
    };
    if constexpr (Dry == DryMode::Band3) mergeWeights.prepare(ramps[2].level, master, mixRamp, frames);
    if (shapingRampsHoldStill<Band1, Band2, Band3>())
        run(ShapeStage<Band1, Band2, Band3, true, Dry>(ramps, curves, parameterValues + kType1, dcBlocker));
    else
        run(ShapeStage<Band1, Band2, Band3, false, Dry>(ramps, curves, parameterValues + kType1, dcBlocker));
    oversampler.down<Band1, Band2, Band3 || Dry == DryMode::Lane>(factor, raised.frame, frames, bands.frame);
}

// The same as shapeRaisedSubBlock, in the AVX copy's wide lanes.
template <bool Band1, bool Band2, bool Band3, DryMode Dry>
void PairedSignalPath::shapeRaisedSubBlockWide(SubBlockBands& bands, int frames) {
    oversampler.upWide<Band1, Band2, Band3>(factor, bands.frame, frames, raised.frame,
                                            Dry == DryMode::None ? nullptr : raised.drySum);
    auto run = [&](auto shape) VELMORA_WIDE_INLINE_LAMBDA {
        for (int i = 0; i < frames; ++i)
            shape.raisedFrameWide(raised.frame + i * factor, factor, raisedDcCoefficient, &mergeWeights.at(i),
                                  raised.drySum + i * factor);
        shape.finish();
    };
    if constexpr (Dry == DryMode::Band3) mergeWeights.prepare(ramps[2].level, master, mixRamp, frames);
    if (shapingRampsHoldStill<Band1, Band2, Band3>())
        run(ShapeStage<Band1, Band2, Band3, true, Dry>(ramps, curves, parameterValues + kType1, dcBlocker));
    else
        run(ShapeStage<Band1, Band2, Band3, false, Dry>(ramps, curves, parameterValues + kType1, dcBlocker));
    oversampler.downWide<Band1, Band2, Band3 || Dry == DryMode::Lane>(factor, raised.frame, frames, bands.frame);
}

template <bool Band1, bool Band2, bool Band3>
bool PairedSignalPath::mixRampsHoldStill() const {
    constexpr bool sounding[3] = {Band1, Band2, Band3};
    bool still = master.holdsStill() && !mixRamp.moving();
    for (int b = 0; b < 3; ++b)
        if (sounding[b]) still = still && ramps[b].level.holdsStill();
    return still;
}

template <bool Accumulate, bool Band1, bool Band2, bool Band3, DryMode Dry, typename Run>
void PairedSignalPath::withMixStage(int n, Run run) {
    auto runAndAdvance = [&](auto mix) VELMORA_INLINE_LAMBDA {
        run(mix);
        if constexpr (Dry != DryMode::None) mixRamp.advance(n, mix.lastMix());
    };
    if (mixRampsHoldStill<Band1, Band2, Band3>())
        runAndAdvance(MixStage<Accumulate, Band1, Band2, Band3, true, Dry>(ramps, master, mixRamp));
    else
        runAndAdvance(MixStage<Accumulate, Band1, Band2, Band3, false, Dry>(ramps, master, mixRamp));
}

template <bool Accumulate, bool Band1, bool Band2, bool Band3, DryMode Dry>
void PairedSignalPath::mixSubBlock(const SubBlockBands& bands, int frames, float* outL, float* outR) {
    withMixStage<Accumulate, Band1, Band2, Band3, Dry>(frames, [&](auto& mix) VELMORA_INLINE_LAMBDA {
        for (int i = 0; i < frames; ++i) mix.frame(bands.frame[i], outL + i, outR + i, bands.dry + i);
        mix.finish();
    });
}

template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter>
void PairedSignalPath::processRoutingSse2(const float* inL, const float* inR, float* outL, float* outR,
                                          int32_t frames) {
    runRouting<Accumulate, Band1, Band2, Band3, PostFilter, false, false>(inL, inR, outL, outR, frames);
}

template <bool Band1, bool Band2, bool Band3, bool PostFilter>
void PairedSignalPath::processMixedRoutingSse2(const float* inL, const float* inR, float* outL, float* outR,
                                               int32_t frames) {
    runRouting<false, Band1, Band2, Band3, PostFilter, false, true>(inL, inR, outL, outR, frames);
}

template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter>
void PairedSignalPath::processRoutingAvx(const float* inL, const float* inR, float* outL, float* outR,
                                         int32_t frames) {
    runRouting<Accumulate, Band1, Band2, Band3, PostFilter, kWideLanes, false>(inL, inR, outL, outR, frames);
}

template <bool Band1, bool Band2, bool Band3, bool PostFilter>
void PairedSignalPath::processMixedRoutingAvx(const float* inL, const float* inR, float* outL, float* outR,
                                              int32_t frames) {
    runRouting<false, Band1, Band2, Band3, PostFilter, kWideLanes, true>(inL, inR, outL, outR, frames);
}

template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter, bool Wide, bool Mixed>
void PairedSignalPath::runRouting(const float* inL, const float* inR, float* outL, float* outR, int32_t frames) {
    SubBlockBands bands;
    FilterHistory history[2];
    // A call that starts at Mix 100 % stays there; it runs none of the
    // dry's code, and the dry lane's history goes stale.
    if constexpr (!Mixed) dryLaneLowered = false;
    for (int32_t done = 0; done < frames;) {
        const int n = static_cast<int>(std::min<int32_t>(frames - done, kSubBlock));
        startSubBlock<Band1, Band2, Band3, PostFilter>();
        auto run = [&](auto mode) VELMORA_INLINE_LAMBDA {
            runSubBlock<Accumulate, Band1, Band2, Band3, PostFilter, Wide, decltype(mode)::value>(
                inL + done, inR + done, outL + done, outR + done, n, bands, history);
        };
        const DryMode mode = Mixed ? dryModeNow(Band3) : DryMode::None;
        if constexpr (!Mixed) {
            run(std::integral_constant<DryMode, DryMode::None>{});
        } else if (mode == DryMode::None) {
            run(std::integral_constant<DryMode, DryMode::None>{});
        } else if (mode == DryMode::Beside) {
            run(std::integral_constant<DryMode, DryMode::Beside>{});
        } else if constexpr (Band3) {
            run(std::integral_constant<DryMode, DryMode::Band3>{});
        } else {
            run(std::integral_constant<DryMode, DryMode::Lane>{});
        }
        done += n;
    }
}

template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter, bool Wide, DryMode Dry>
void PairedSignalPath::runSubBlock(const float* inL, const float* inR, float* outL, float* outR, int n,
                                   SubBlockBands& bands, FilterHistory (&history)[2]) {
    // Each stage runs over the whole sub-block before the next (the AVX copy
    // pairs them up, see splitAndShapeSkewed): a loop then holds one stage's
    // state in registers, and the latency-bound filter recursions of
    // consecutive frames overlap. The split reads every input of the
    // sub-block before the mix writes any output, so in-place buffers stay
    // safe.
    // (Beside runs only at Normal, Lane and Band3 only at a raised rate: dryModeNow.)
    if constexpr (Wide) {
        if (factor == 1) {
            if constexpr (Dry == DryMode::None || Dry == DryMode::Beside)
                splitAndShapeSkewed<Band1, Band2, Band3, Dry>(inL, inR, n, bands, history);
        } else if constexpr (Dry != DryMode::Beside) {
            splitThenShape<Band1, Band2, Band3, Wide, Dry>(inL, inR, n, bands, history);
        }
        postFilterAndMixSkewed<Accumulate, Band1, Band2, Band3, PostFilter, Dry>(bands, n, outL, outR, history);
    } else {
        splitThenShape<Band1, Band2, Band3, Wide, Dry>(inL, inR, n, bands, history);
        constexpr bool kPost = PostFilter && (Band1 || Band2);
        if constexpr (kPost) {
            PostFilterStage<Band1 && kPost, Band2 && kPost> post(postFilter1, postFilter2, postFilterOffset,
                                                                 history[0], history[1]);
            for (int i = 0; i < n; ++i) post.frame(i, bands.frame[i]);
            post.finish(n);
        }
        mixSubBlock<Accumulate, Band1, Band2, Band3, Dry>(bands, n, outL, outR);
    }
}

template <bool Band1, bool Band2, bool Band3, bool Wide, DryMode Dry>
void PairedSignalPath::splitThenShape(const float* inL, const float* inR, int n, SubBlockBands& bands,
                                            FilterHistory (&history)[2]) {
    {
        SplitStage<Band1, Band2, Band3> split(crossover1, crossover2, inputOffset, history[0], history[1]);
        for (int i = 0; i < n; ++i) split.frame(i, inL + i, inR + i, bands.frame[i]);
        split.finish(n);
    }
    if (factor == 1) {
        if constexpr (Dry == DryMode::None || Dry == DryMode::Beside) shapeSubBlock<Band1, Band2, Band3, Dry>(bands, n);
    } else if constexpr (Dry == DryMode::Beside) {
    } else if constexpr (Wide)
        shapeRaisedSubBlockWide<Band1, Band2, Band3, Dry>(bands, n);
    else
        shapeRaisedSubBlock<Band1, Band2, Band3, Dry>(bands, n);
}

// The AVX copy's two loops instead of four. The crossovers and the post
// filters wait on their own recursions (about a dozen cycles a frame) and
// leave most of the processor idle; the curves and the mix, which have no
// such recursion, fill that time when they run in the same loop on frames
// kSkew steps behind, whose bands are already there. Every stage still sees
// its frames in order and performs the same operations, so the bits are the
// same.
constexpr int kSkew = 4;

template <bool Band1, bool Band2, bool Band3, DryMode Dry>
void PairedSignalPath::splitAndShapeSkewed(const float* inL, const float* inR, int n, SubBlockBands& bands,
                                           FilterHistory (&history)[2]) {
    auto run = [&](auto shape) VELMORA_INLINE_LAMBDA {
        SplitStage<Band1, Band2, Band3> split(crossover1, crossover2, inputOffset, history[0], history[1]);
        for (int i = 0; i < n; ++i) {
            split.frame(i, inL + i, inR + i, bands.frame[i]);
            if (i >= kSkew) shape.frame(bands.frame[i - kSkew], bands.dry + i - kSkew);
        }
        for (int i = std::max(0, n - kSkew); i < n; ++i) shape.frame(bands.frame[i], bands.dry + i);
        split.finish(n);
        shape.finish();
    };
    if (shapingRampsHoldStill<Band1, Band2, Band3>())
        run(ShapeStage<Band1, Band2, Band3, true, Dry>(ramps, curves, parameterValues + kType1, dcBlocker));
    else
        run(ShapeStage<Band1, Band2, Band3, false, Dry>(ramps, curves, parameterValues + kType1, dcBlocker));
}

// (Band1 && PostFilter below is Band1 && kPost of runRouting, and so on;
// spelled out because GCC 12 fails on a local constant inside the lambda.)
template <bool Accumulate, bool Band1, bool Band2, bool Band3, bool PostFilter, DryMode Dry>
void PairedSignalPath::postFilterAndMixSkewed(SubBlockBands& bands, int n, float* outL, float* outR,
                                              FilterHistory (&history)[2]) {
    withMixStage<Accumulate, Band1, Band2, Band3, Dry>(n, [&](auto& mix) VELMORA_INLINE_LAMBDA {
        PostFilterStage<Band1 && PostFilter, Band2 && PostFilter> post(postFilter1, postFilter2, postFilterOffset,
                                                                       history[0], history[1]);
        for (int i = 0; i < n; ++i) {
            if constexpr (PostFilter && (Band1 || Band2)) post.frame(i, bands.frame[i]);
            if (i >= kSkew) mix.frame(bands.frame[i - kSkew], outL + i - kSkew, outR + i - kSkew, bands.dry + i - kSkew);
        }
        for (int i = std::max(0, n - kSkew); i < n; ++i) mix.frame(bands.frame[i], outL + i, outR + i, bands.dry + i);
        if constexpr (PostFilter && (Band1 || Band2)) post.finish(n);
        mix.finish();
    });
}
