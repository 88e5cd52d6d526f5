#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

#include "host/audio_file.h"
#include "host/commands.h"
#include "host/demo_signal.h"
#include "host/errors.h"
#include "host/loaded_plugin.h"
#include "host/loudness_meter.h"
#include "host/plugin_settings.h"
#include "host/progress_bar.h"

namespace {

constexpr double kDefaultRate = 44100.0;

// Ctrl-C ends a long render cleanly: the loop stops, the half-written file
// is removed and the plug-in is closed as usual.
volatile std::sig_atomic_t interrupted = 0;
extern "C" void onInterrupt(int) { interrupted = 1; }

// Where the audio comes from: an input file read block by block, or the demo
// signal held in memory.
class StereoSource {
public:
    explicit StereoSource(const Invocation& invocation) {
        if (!invocation.inputPath.empty()) {
            file_ = std::make_unique<AudioFileReader>(invocation.inputPath);
            if (invocation.sampleRate && *invocation.sampleRate != file_->sampleRate()) {
                throw UsageError("--rate only sets the demo signal's rate; " + invocation.inputPath +
                                 " plays at its own " + std::to_string(static_cast<long>(file_->sampleRate())) +
                                 " Hz.");
            }
        } else {
            demo_ = makeDemoSignal(invocation.sampleRate.value_or(kDefaultRate));
        }
    }

    double sampleRate() const { return file_ ? file_->sampleRate() : demo_.sampleRate; }
    size_t totalFrames() const { return file_ ? static_cast<size_t>(std::max<int64_t>(file_->frames(), 0)) : demo_.frames(); }

    size_t read(float* left, float* right, size_t count) {
        if (file_) return file_->read(left, right, count);
        const size_t frames = std::min(count, demo_.frames() - position_);
        std::copy_n(demo_.left.begin() + static_cast<std::ptrdiff_t>(position_), frames, left);
        std::copy_n(demo_.right.begin() + static_cast<std::ptrdiff_t>(position_), frames, right);
        position_ += frames;
        return frames;
    }

private:
    std::unique_ptr<AudioFileReader> file_;
    StereoSignal demo_;
    size_t position_ = 0;
};

}  // namespace

int runRender(const Invocation& invocation) {
    // Everything that can be refused is checked before the output is created.
    StereoSource source(invocation);
    const double rate = source.sampleRate();
    const int32_t block = invocation.blockSize;

    const auto loaded = loadPlugin(invocation.plugins.front());
    LoadedPlugin& plugin = *loaded;
    plugin.configure(rate, block);
    applySettings(plugin, invocation);
    plugin.prepareAudio();

    AudioFileWriter writer(invocation.outputPath, rate);
    const auto frames = static_cast<size_t>(block);
    std::vector<float> inLeft(frames), inRight(frames), outLeft(frames), outRight(frames);
    ProgressBar progress(source.totalFrames());
    size_t done = 0;
    double inputPower = 0.0, outputPower = 0.0;
    LoudnessMeter inputLoudness(rate), outputLoudness(rate);

    interrupted = 0;
    const auto previousHandler = std::signal(SIGINT, onInterrupt);
    plugin.start();
    while (interrupted == 0) {
        const size_t got = source.read(inLeft.data(), inRight.data(), frames);
        if (got == 0) break;
        plugin.process(inLeft.data(), inRight.data(), outLeft.data(), outRight.data(), static_cast<int32_t>(got));
        writer.write(outLeft.data(), outRight.data(), got);
        inputLoudness.add(inLeft.data(), inRight.data(), got);
        outputLoudness.add(outLeft.data(), outRight.data(), got);
        for (size_t i = 0; i < got; ++i) {
            inputPower += double(inLeft[i]) * inLeft[i] + double(inRight[i]) * inRight[i];
            outputPower += double(outLeft[i]) * outLeft[i] + double(outRight[i]) * outRight[i];
        }
        done += got;
        progress.update(done);
    }
    plugin.stop();
    std::signal(SIGINT, previousHandler);
    if (interrupted != 0) throw HostError("The render was interrupted, so " + invocation.outputPath + " was not written.");
    progress.finish();
    writer.commit();

    std::printf("Rendered %zu frames (%.2f s at %.0f Hz) through %s into %s", done, static_cast<double>(done) / rate,
                rate, plugin.displayName().c_str(), invocation.outputPath.c_str());
    // How loud the plug-in left it: what a level-matched setting keeps near 0.
    if (inputPower > 0.0 && outputPower > 0.0)
        std::printf("; output RMS %+.1f dB relative to the input", 10.0 * std::log10(outputPower / inputPower));
    // And as ears judge it: integrated loudness, where a meter is available.
    const std::optional<double> loudnessIn = inputLoudness.integrated(), loudnessOut = outputLoudness.integrated();
    if (loudnessIn && loudnessOut)
        std::printf("; integrated loudness %.1f LUFS in, %.1f LUFS out", *loudnessIn, *loudnessOut);
    std::printf(".\n");
    return 0;
}
