// Cost of the audio path per call at typical host block sizes, defaults set.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "plugin/distortion_effect.h"

namespace {

VstIntPtr VST_CALLBACK benchHost(AEffect*, int32_t opcode, int32_t, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

void processReplacing(benchmark::State& state, bool allDriven) {
    const int frames = static_cast<int>(state.range(0));
    DistortionEffect effect(benchHost);
    if (allDriven) {
        const float types[3] = {0.4f, 0.7f, 0.9f};
        for (int b = 0; b < 3; ++b) {
            effect.setParameter(kGain1 + b, 0.5f);
            effect.setParameter(kType1 + b, types[b]);
        }
    }
    std::vector<float> left(frames), right(frames), outLeft(frames), outRight(frames);
    for (int n = 0; n < frames; ++n) {
        left[n] = static_cast<float>(0.5 * std::sin(0.05 * n));
        right[n] = static_cast<float>(0.5 * std::cos(0.031 * n));
    }
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    for (auto _ : state) {
        effect.processReplacing(inputs, outputs, frames);
        benchmark::DoNotOptimize(outLeft.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * frames);
    state.counters["ns_per_frame"] =
        benchmark::Counter(static_cast<double>(state.iterations() * frames),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void defaults(benchmark::State& state) { processReplacing(state, false); }
void drivenCurves(benchmark::State& state) { processReplacing(state, true); }

}  // namespace

BENCHMARK(defaults)->Arg(32)->Arg(64)->Arg(512);
BENCHMARK(drivenCurves)->Arg(64)->Arg(512);
BENCHMARK_MAIN();
