#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "host/block_processor.h"
#include "host/commands.h"
#include "host/demo_signal.h"
#include "host/plugin_instance.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kRate = 44100.0;
// One turn processes this much audio, so the plug-ins alternate often enough
// that a burst of machine noise lands on all of them alike.
constexpr size_t kTurnFrames = 44100;
constexpr int kMinimumRounds = 3;

struct Contender {
    std::unique_ptr<PluginInstance> plugin;
    std::unique_ptr<BlockProcessor> processor;
    size_t position = 0;  // in the demo signal, which repeats
    std::vector<double> nsPerFrame;
};

// Processes one turn and returns its ns per frame.
double timeTurn(Contender& contender, const StereoSignal& signal, std::vector<float>& outLeft,
                std::vector<float>& outRight) {
    const size_t block = static_cast<size_t>(contender.processor->maxFrames());
    const auto start = Clock::now();
    size_t done = 0;
    while (done < kTurnFrames) {
        const size_t frames = std::min({block, kTurnFrames - done, signal.frames() - contender.position});
        contender.processor->process(signal.left.data() + contender.position, signal.right.data() + contender.position,
                                     outLeft.data(), outRight.data(), static_cast<int32_t>(frames));
        done += frames;
        contender.position = (contender.position + frames) % signal.frames();
    }
    const auto elapsed = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    return elapsed / static_cast<double>(kTurnFrames);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

}  // namespace

int runBench(const Invocation& invocation) {
    const StereoSignal signal = makeDemoSignal(kRate);
    std::vector<Contender> contenders;
    for (const auto& path : invocation.plugins) {
        Contender contender;
        contender.plugin = std::make_unique<PluginInstance>(path);
        contender.plugin->configure(kRate, invocation.blockSize);
        contender.processor = std::make_unique<BlockProcessor>(*contender.plugin, invocation.blockSize);
        contender.plugin->resume();
        contenders.push_back(std::move(contender));
    }

    std::vector<float> outLeft(static_cast<size_t>(invocation.blockSize));
    std::vector<float> outRight(outLeft.size());
    // A first untimed turn each warms caches and lets lazy set-up happen.
    for (auto& contender : contenders) timeTurn(contender, signal, outLeft, outRight);

    const auto deadline = Clock::now() + std::chrono::duration<double>(invocation.benchSeconds);
    int rounds = 0;
    while (rounds < kMinimumRounds || Clock::now() < deadline) {
        // Rotating who goes first keeps any order effect from favouring one.
        for (size_t k = 0; k < contenders.size(); ++k) {
            Contender& contender = contenders[(k + static_cast<size_t>(rounds)) % contenders.size()];
            contender.nsPerFrame.push_back(timeTurn(contender, signal, outLeft, outRight));
        }
        ++rounds;
    }

    std::printf("%d rounds of %zu frames per plug-in, %d-frame blocks, %.0f Hz, default parameters\n", rounds,
                kTurnFrames, invocation.blockSize, kRate);
    std::vector<std::string> names;
    size_t width = 7;
    for (auto& contender : contenders) {
        names.push_back(std::filesystem::path(contender.plugin->path()).filename().string() + " (" +
                        contender.plugin->displayName() + ")");
        width = std::max(width, names.back().size());
    }
    std::printf("%-*s  %10s  %8s\n", static_cast<int>(width), "plug-in", "ns/frame", "ratio");
    const double reference = median(contenders.front().nsPerFrame);
    for (size_t i = 0; i < contenders.size(); ++i) {
        const double value = median(contenders[i].nsPerFrame);
        std::printf("%-*s  %10.2f  %8.3f\n", static_cast<int>(width), names[i].c_str(), value,
                    reference > 0.0 ? value / reference : 0.0);
    }
    for (auto& contender : contenders) contender.plugin->suspend();
    return 0;
}
