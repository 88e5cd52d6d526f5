// Both audio paths timed without Google Benchmark, so the same program runs
// in the Windows cross builds under Wine: ns per frame at the defaults on a
// synthetic two-tone signal, best of 15 runs of 100,000 frames, and the ratio
// of the paired path (each compiled copy the processor runs) to the plain
// one. Then the paired path at each shaping rate, the four taking turns in
// every run, and each one's ratio to Normal; and at each rate the path at
// Mix 50 % against Mix 100 %, the two taking turns.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <type_traits>
#include <vector>

#include "dsp/distortion_processor.h"
#include "dsp/reference/scalar_distortion_processor.h"

namespace {

constexpr float kDefaults[kNumParameters] = {0.5f, 0.5f, 1.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.0f,
                                             0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f};

// ns per frame of one run of 100,000 frames; Mix below 1 runs the mixed callback.
template <typename Processor>
double timedRun(Processor& processor, const std::vector<float>& left, const std::vector<float>& right, int block,
                std::vector<float>& outLeft, std::vector<float>& outRight, double mix = 1.0) {
    float* outputs[2] = {outLeft.data(), outRight.data()};
    const auto start = std::chrono::steady_clock::now();
    size_t position = 0;
    long frames = 0;
    while (frames < 100000) {
        if (position + block > left.size()) position = 0;
        float* inputs[2] = {const_cast<float*>(left.data() + position), const_cast<float*>(right.data() + position)};
        if constexpr (std::is_same_v<Processor, DistortionProcessor>)
            processor.processMixed(inputs, outputs, block, mix, false);
        else
            processor.processReplacing(inputs, outputs, block);
        position += block;
        frames += block;
    }
    return std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() / frames;
}

void shapingRates(const std::vector<float>& left, const std::vector<float>& right, int block, AudioPath copy) {
    std::atomic<float> values[kNumParameters];
    for (int i = 0; i < kNumParameters; ++i) values[i] = kDefaults[i];
    std::atomic<float> rate{44100.0f};
    std::unique_ptr<DistortionProcessor> processors[4];
    double best[4];
    for (int s = 0; s < 4; ++s) {
        processors[s] = std::make_unique<DistortionProcessor>(values, &rate);
        processors[s]->setOversampling(static_cast<Oversampling>(s));
        processors[s]->useAudioPath(copy);
        best[s] = 1e30;
    }
    std::vector<float> outLeft(block), outRight(block);
    for (int run = 0; run < 15; ++run)
        for (int s = 0; s < 4; ++s) {
            const double ns = timedRun(*processors[s], left, right, block, outLeft, outRight);
            if (ns < best[s]) best[s] = ns;
        }
    std::printf("%-4s block %3d, shaping rate:", audioPathName(copy), block);
    const char* names[4] = {"Normal", "2x", "4x", "8x"};
    for (int s = 0; s < 4; ++s) std::printf("  %s %.2f (%.2f)", names[s], best[s], best[s] / best[0]);
    std::printf(" ns/frame (ratio to Normal)\n");
}

// What parallel use costs: Mix 50 % against Mix 100 % at each shaping rate,
// both through the mixed callback, alternating in every run.
void mixCost(const std::vector<float>& left, const std::vector<float>& right, int block, AudioPath copy) {
    std::atomic<float> values[kNumParameters];
    for (int i = 0; i < kNumParameters; ++i) values[i] = kDefaults[i];
    std::atomic<float> rate{44100.0f};
    std::vector<float> outLeft(block), outRight(block);
    const double mixes[2] = {1.0, 0.5};
    const char* names[4] = {"Normal", "2x", "4x", "8x"};
    std::printf("%-4s block %3d, Mix 50 %% / Mix 100 %%:", audioPathName(copy), block);
    for (int s = 0; s < 4; ++s) {
        std::unique_ptr<DistortionProcessor> processors[2];
        double best[2] = {1e30, 1e30};
        for (int m = 0; m < 2; ++m) {
            processors[m] = std::make_unique<DistortionProcessor>(values, &rate);
            processors[m]->setOversampling(static_cast<Oversampling>(s));
            processors[m]->useAudioPath(copy);
        }
        for (int run = 0; run < 15; ++run)
            for (int m = 0; m < 2; ++m)
                best[m] = std::min(best[m], timedRun(*processors[m], left, right, block, outLeft, outRight, mixes[m]));
        std::printf("  %s %.2f/%.2f (%+.1f%%)", names[s], best[1], best[0], 100.0 * (best[1] / best[0] - 1.0));
    }
    std::printf(" ns/frame\n");
}

template <typename Processor>
double bestNsPerFrame(const std::vector<float>& left, const std::vector<float>& right, int block,
                      AudioPath copy = AudioPath::Sse2) {
    std::atomic<float> values[kNumParameters];
    for (int i = 0; i < kNumParameters; ++i) values[i] = kDefaults[i];
    std::atomic<float> rate{44100.0f};
    Processor processor(values, &rate);
    if constexpr (std::is_same_v<Processor, DistortionProcessor>) processor.useAudioPath(copy);
    std::vector<float> outLeft(block), outRight(block);
    double best = 1e30;
    for (int run = 0; run < 15; ++run) best = std::min(best, timedRun(processor, left, right, block, outLeft, outRight));
    return best;
}

}  // namespace

int main() {
    std::vector<float> left(44100), right(44100);
    for (int n = 0; n < 44100; ++n) {
        left[n] = static_cast<float>(0.5 * std::sin(0.01 * n) + 0.2 * std::sin(0.3 * n));
        right[n] = static_cast<float>(0.4 * std::sin(0.013 * n) + 0.2 * std::sin(0.21 * n));
    }
    std::vector<AudioPath> copies{AudioPath::Sse2};
    if (audioPathAvailable(AudioPath::Avx)) copies.push_back(AudioPath::Avx);
    for (int block : {512, 32}) {
        const double plain = bestNsPerFrame<ScalarDistortionProcessor>(left, right, block);
        std::printf("block %3d: plain %7.2f", block, plain);
        for (AudioPath copy : copies) {
            const double paired = bestNsPerFrame<DistortionProcessor>(left, right, block, copy);
            std::printf("  %s %6.2f (%.3f)", audioPathName(copy), paired, paired / plain);
        }
        std::printf(" ns/frame (ratio to plain)\n");
    }
    for (AudioPath copy : copies)
        for (int block : {512, 32}) shapingRates(left, right, block, copy);
    for (AudioPath copy : copies) mixCost(left, right, 512, copy);
    return 0;
}
