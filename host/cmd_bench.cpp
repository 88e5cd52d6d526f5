#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include <string>

#include "dsp/audio_path.h"
#include "host/baseline_processor.h"
#include "host/commands.h"
#include "host/demo_signal.h"
#include "host/errors.h"
#include "host/loaded_plugin.h"
#include "host/plugin_settings.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kRate = 44100.0;
// One turn processes this much audio, so the plug-ins alternate often enough
// that a burst of machine noise lands on all of them alike.
constexpr size_t kTurnFrames = 44100;
constexpr int kMinimumRounds = 3;

// A loaded plug-in, or the built-in plain signal path (no plug-in).
struct Contender {
    std::string name;
    std::unique_ptr<LoadedPlugin> plugin;
    std::unique_ptr<BaselineProcessor> baseline;
    size_t position = 0;  // in the demo signal, which repeats
    std::vector<double> nsPerFrame;

    void process(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames) {
        if (baseline)
            baseline->process(inLeft, inRight, outLeft, outRight, frames);
        else
            plugin->process(inLeft, inRight, outLeft, outRight, frames);
    }
};

// The baseline runs with the first plug-in's values, which only make sense
// when that plug-in is Velmora itself.
std::vector<float> baselineValues(LoadedPlugin& first) {
    if (first.parameterCount() != BaselineProcessor::kParameterCount || first.displayName() != "Velmora") {
        throw UsageError("--baseline needs Velmora as the first plug-in, not " + first.displayName() + ".");
    }
    std::vector<float> values;
    for (int32_t i = 0; i < BaselineProcessor::kParameterCount; ++i) values.push_back(first.parameter(i));
    return values;
}

// Processes one turn and returns its ns per frame.
double timeTurn(Contender& contender, const StereoSignal& signal, std::vector<float>& outLeft,
                std::vector<float>& outRight) {
    const size_t block = outLeft.size();
    const auto start = Clock::now();
    size_t done = 0;
    while (done < kTurnFrames) {
        const size_t frames = std::min({block, kTurnFrames - done, signal.frames() - contender.position});
        contender.process(signal.left.data() + contender.position, signal.right.data() + contender.position,
                          outLeft.data(), outRight.data(), static_cast<int32_t>(frames));
        done += frames;
        contender.position = (contender.position + frames) % signal.frames();
    }
    const auto elapsed = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    return elapsed / static_cast<double>(kTurnFrames);
}

// Velmora reads its copy from the environment when an instance is created,
// so the choice is made before any plug-in is loaded; the copy that runs is
// what the same function answers in this process.
AudioPath chooseAudioPath(const Invocation& invocation) {
    if (invocation.audioPath) {
        const AudioPath wanted = *audioPathNamed(*invocation.audioPath);
        if (!audioPathAvailable(wanted))
            throw HostError("This processor or system has no AVX, so --path avx cannot run; use --path sse2.");
#if defined(_WIN32)
        _putenv_s(kAudioPathVariable, invocation.audioPath->c_str());
#else
        setenv(kAudioPathVariable, invocation.audioPath->c_str(), 1);
#endif
    }
    return chosenAudioPath();
}

// Velmora's Mix (CLAP, VST 3), when the plug-in is at 100 %.
std::optional<int32_t> fullMix(LoadedPlugin& plugin) {
    if (plugin.displayName() != "Velmora") return std::nullopt;
    for (int32_t i = 0; i < plugin.parameterCount(); ++i)
        if (plugin.parameterName(i) == "Mix") return plugin.parameter(i) == 1.0f ? std::optional(i) : std::nullopt;
    return std::nullopt;
}

Contender startContender(const std::string& path, const Invocation& invocation, std::optional<int32_t> halfMix = {}) {
    Contender contender;
    contender.plugin = loadPlugin(path);
    contender.plugin->configure(kRate, invocation.blockSize);
    applySettings(*contender.plugin, invocation);
    if (halfMix) contender.plugin->setParameter(*halfMix, 0.5f);
    contender.plugin->prepareAudio();
    contender.plugin->start();
    contender.name = std::filesystem::path(path).filename().string() + " (" + contender.plugin->displayName() + ")";
    if (halfMix) contender.name += ", Mix " + contender.plugin->parameterDisplay(*halfMix);
    return contender;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : 0.5 * (values[middle - 1] + values[middle]);
}

}  // namespace

int runBench(const Invocation& invocation) {
    const StereoSignal signal = makeDemoSignal(kRate);
    const AudioPath audioPath = chooseAudioPath(invocation);
    std::vector<Contender> contenders;
    for (const auto& path : invocation.plugins) contenders.push_back(startContender(path, invocation));
    // What parallel use costs, side by side: Velmora with a Mix at 100 % runs
    // a second time at Mix 50 %, right after it.
    if (const std::optional<int32_t> mix = fullMix(*contenders.front().plugin))
        contenders.insert(contenders.begin() + 1, startContender(invocation.plugins.front(), invocation, mix));
    if (invocation.baseline) {
        // First, so every ratio is to the plain path.
        Contender baseline;
        baseline.name = "plain signal path (built in)";
        baseline.baseline = std::make_unique<BaselineProcessor>(baselineValues(*contenders.front().plugin),
                                                                static_cast<float>(kRate));
        contenders.insert(contenders.begin(), std::move(baseline));
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

    const bool defaults = invocation.assignments.empty() && !invocation.program;
    const bool velmoraRuns = std::any_of(contenders.begin(), contenders.end(), [](const Contender& c) {
        return c.plugin && c.plugin->displayName() == "Velmora";
    });
    std::printf("%d rounds of %zu frames per plug-in, %d-frame blocks, %.0f Hz, %s parameters", rounds, kTurnFrames,
                invocation.blockSize, kRate, defaults ? "default" : "the given");
    if (velmoraRuns) std::printf("; Velmora's audio path: %s", audioPathDescription(audioPath));
    std::printf("\n");
    size_t width = 7;
    for (auto& contender : contenders) width = std::max(width, contender.name.size());
    std::printf("%-*s  %10s  %8s\n", static_cast<int>(width), "plug-in", "ns/frame", "ratio");
    const double reference = median(contenders.front().nsPerFrame);
    for (size_t i = 0; i < contenders.size(); ++i) {
        const double value = median(contenders[i].nsPerFrame);
        std::printf("%-*s  %10.2f  %8.3f\n", static_cast<int>(width), contenders[i].name.c_str(), value,
                    reference > 0.0 ? value / reference : 0.0);
    }
    for (auto& contender : contenders)
        if (contender.plugin) contender.plugin->stop();
    return 0;
}
