// The signal path's set-up and state keeping; its routed loops are in
// paired_signal_path_routing.h.
#include "paired_signal_path.h"

#include "band_split_filter.h"
#include "parameter_laws.h"

PairedSignalPath::PairedSignalPath(const std::atomic<float>* values, const std::atomic<float>* rate)
    : curves{paired_shaper::BandCurve(values[kType1].load(std::memory_order_relaxed)),
             paired_shaper::BandCurve(values[kType2].load(std::memory_order_relaxed)),
             paired_shaper::BandCurve(values[kType3].load(std::memory_order_relaxed))},
      parameterValues(values),
      sampleRate(rate) {
    // Balance gains and levels start at 1, the drive at 0 (not at the targets).
    for (BandRamps& band : ramps) {
        band.balance.value = pair::broadcast(1.0);
        band.drive.value = pair::zero();
        band.level.value = pair::broadcast(1.0);
    }
    master.value = pair::broadcast(1.0);
}

void PairedSignalPath::resetNonFiniteState() {
    for (PairedBandSplitFilter* filter : {&crossover1, &crossover2, &postFilter1, &postFilter2})
        filter->state.resetNonFiniteChannels();
    dcBlocker.resetNonFiniteChannels();
    if (factor > 1) oversampler.clearNonFinite(factor);
}

void PairedSignalPath::switchRate() {
    settingInUse = oversampling();
    const int wanted = oversamplingFactor(settingInUse);
    // Old history belongs to another rate; starting from silence costs a
    // short gap in the bands' sound and can never give a non-finite sample.
    oversampler.reset();
    factor = wanted;
    raisedDcCoefficient = pair::broadcast(paired_shaper::dcBlockerCoefficientAt(factor));
}

PairedFilterCoefficients PairedSignalPath::crossoverDesign(CachedLaw<PairedFilterCoefficients>& cache, int index,
                                                             float rate) {
    const float value = parameter(index);
    const uint64_t key = (uint64_t{floatBits(value)} << 32) | floatBits(rate);
    return cache.get(key, [&] {
        const double usableRate = laws::usableSampleRate(rate);
        BandSplitFilter designer;
        designer.design(laws::designableFrequency(laws::guarded(laws::crossoverFrequency, value), usableRate),
                        laws::kCrossoverQ, usableRate);
        return PairedFilterCoefficients::from(designer);
    });
}
