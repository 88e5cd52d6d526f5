// Cost of the audio path per frame: the paired (SSE2) path the plug-in runs
// next to the plain reference path, at host block sizes 32 and 512, on the
// demo signal, for the defaults, every band driven through each curve, every
// routing, and silence against noise and a decay into silence.
//   velmora_bench --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <vector>

#include "dsp/distortion_processor.h"
#include "dsp/reference/scalar_distortion_processor.h"
#include "host/demo_signal.h"

namespace {

constexpr float kDefaults[kNumParameters] = {0.5f, 0.5f, 1.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.0f,
                                             0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f};

enum class Input { Demo, Silence, Noise, Decay };

struct Setting {
    int index;
    float value;
};

std::vector<float> channel(Input input, bool left) {
    static const StereoSignal demo = makeDemoSignal(44100.0);
    if (input == Input::Demo) return left ? demo.left : demo.right;
    std::vector<float> samples(demo.frames(), 0.0f);
    uint32_t seed = left ? 1u : 2u;
    for (size_t n = 0; n < samples.size() && input != Input::Silence; ++n) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = static_cast<double>(seed >> 8) / double(1u << 24) - 0.5;
        // A decay falls by 60 dB every 0.1 s, through the float denormals to 0.
        const double envelope = input == Input::Decay ? std::exp(-69.0 * static_cast<double>(n) / 44100.0) : 1.0;
        samples[n] = static_cast<float>(noise * envelope);
    }
    return samples;
}

template <typename Processor>
void run(benchmark::State& state, Input input, std::vector<Setting> settings) {
    const int block = static_cast<int>(state.range(0));
    std::atomic<float> values[kNumParameters];
    for (int i = 0; i < kNumParameters; ++i) values[i] = kDefaults[i];
    for (const Setting& s : settings) values[s.index] = s.value;
    std::atomic<float> rate{44100.0f};
    Processor processor(values, &rate);

    const std::vector<float> left = channel(input, true), right = channel(input, false);
    std::vector<float> outLeft(block), outRight(block);
    float* outputs[2] = {outLeft.data(), outRight.data()};
    size_t position = 0;
    int64_t frames = 0;
    for (auto _ : state) {
        if (position + block > left.size()) position = 0;
        float* inputs[2] = {const_cast<float*>(left.data() + position), const_cast<float*>(right.data() + position)};
        processor.processReplacing(inputs, outputs, block);
        benchmark::DoNotOptimize(outLeft.data());
        benchmark::ClobberMemory();
        position += block;
        frames += block;
    }
    state.counters["ns_per_frame"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Gain 0.6 to 0.8 on every band, all bands on one curve; band 2 may be "Saturation3".
std::vector<Setting> driven(float type, bool saturation3OnBand2) {
    return {{kGain1, 0.6f},  {kGain2, 0.7f},  {kGain3, 0.8f}, {kType1, type},
            {kType2, saturation3OnBand2 ? 0.4f : type}, {kType3, type}};
}

std::vector<Setting> routing(int solos, bool postFilter) {
    return {{kSolo1, solos & 1 ? 1.0f : 0.0f}, {kSolo2, solos & 2 ? 1.0f : 0.0f},
            {kSolo3, solos & 4 ? 1.0f : 0.0f}, {kPFilter, postFilter ? 1.0f : 0.0f}};
}

void paired(benchmark::State& s, Input in, std::vector<Setting> set) { run<DistortionProcessor>(s, in, set); }
void scalar(benchmark::State& s, Input in, std::vector<Setting> set) { run<ScalarDistortionProcessor>(s, in, set); }

}  // namespace

#define VELMORA_BOTH(name, input, settings)                                                  \
    BENCHMARK_CAPTURE(paired, name, input, settings)->Arg(32)->Arg(512);                    \
    BENCHMARK_CAPTURE(scalar, name, input, settings)->Arg(32)->Arg(512);

VELMORA_BOTH(defaults, Input::Demo, {})
VELMORA_BOTH(driven_saturation1, Input::Demo, driven(0.0f, true))
VELMORA_BOTH(driven_saturation2, Input::Demo, driven(0.2f, true))
VELMORA_BOTH(driven_hardclip, Input::Demo, driven(0.55f, true))
VELMORA_BOTH(driven_puncher, Input::Demo, driven(0.7f, true))
VELMORA_BOTH(driven_sinus, Input::Demo, driven(0.9f, true))
VELMORA_BOTH(driven_crackler, Input::Demo, driven(1.0f, true))
VELMORA_BOTH(driven_all_saturation3, Input::Demo, driven(0.4f, false))

BENCHMARK_CAPTURE(paired, band1, Input::Demo, routing(1, true))->Arg(512);
BENCHMARK_CAPTURE(paired, band2, Input::Demo, routing(2, true))->Arg(512);
BENCHMARK_CAPTURE(paired, band3, Input::Demo, routing(4, true))->Arg(512);
BENCHMARK_CAPTURE(paired, bands12, Input::Demo, routing(3, true))->Arg(512);
BENCHMARK_CAPTURE(paired, bands13, Input::Demo, routing(5, true))->Arg(512);
BENCHMARK_CAPTURE(paired, bands23, Input::Demo, routing(6, true))->Arg(512);
BENCHMARK_CAPTURE(paired, all_bands_no_pfilter, Input::Demo, routing(0, false))->Arg(512);
BENCHMARK_CAPTURE(paired, band1_no_pfilter, Input::Demo, routing(1, false))->Arg(512);
BENCHMARK_CAPTURE(paired, bands12_no_pfilter, Input::Demo, routing(3, false))->Arg(512);

// Silence must not cost more than noise (no denormal slow paths).
BENCHMARK_CAPTURE(paired, silence, Input::Silence, {})->Arg(512);
BENCHMARK_CAPTURE(paired, noise, Input::Noise, {})->Arg(512);
BENCHMARK_CAPTURE(paired, decay_into_silence, Input::Decay, {})->Arg(512);
BENCHMARK_CAPTURE(scalar, silence, Input::Silence, {})->Arg(512);
BENCHMARK_CAPTURE(scalar, noise, Input::Noise, {})->Arg(512);
BENCHMARK_CAPTURE(scalar, decay_into_silence, Input::Decay, {})->Arg(512);

BENCHMARK_MAIN();
