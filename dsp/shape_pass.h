// Pass 2 of a sub-block: balance, drive and curve for every sounding band.
// Frame by frame and band by band in band order, because every band set to
// "Saturation3" advances the one shared DC blocker in that order. Each band's
// Type is read every frame, as the scalar path reads it.
#pragma once

#include <atomic>

#include "paired_shaper.h"
#include "sub_block.h"

template <bool Band1, bool Band2, bool Band3>
inline void shapePass(SubBlockBands& bands, int frames, BandRamps (&ramps)[3], paired_shaper::BandCurve (&curves)[3],
                      const std::atomic<float>* typeValues, paired_shaper::PairedDcBlocker& dc) {
    constexpr bool sounding[3] = {Band1, Band2, Band3};
    Pair balance[3], balanceStep[3], drive[3], driveStep[3];
    for (int b = 0; b < 3; ++b) {
        balance[b] = ramps[b].balance.value;
        balanceStep[b] = ramps[b].balance.increment;
        drive[b] = ramps[b].drive.value;
        driveStep[b] = ramps[b].drive.increment;
    }
    for (int i = 0; i < frames; ++i) {
        for (int b = 0; b < 3; ++b) {
            if (!sounding[b]) continue;
            balance[b] = _mm_add_pd(balance[b], balanceStep[b]);
            drive[b] = _mm_add_pd(drive[b], driveStep[b]);
            // (side gain x drive) x sample, the scalar grouping.
            const Pair driven = _mm_mul_pd(_mm_mul_pd(balance[b], drive[b]), bands.band[b][i]);
            curves[b].refresh(typeValues[b]);
            bands.band[b][i] = curves[b].apply(driven, dc);
        }
    }
    for (int b = 0; b < 3; ++b) {
        if (!sounding[b]) continue;
        ramps[b].balance.value = balance[b];
        ramps[b].drive.value = drive[b];
    }
}
