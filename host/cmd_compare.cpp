// velmora-host compare: a piece of programme (the demo signal or a file)
// through the plug-in, and the input's and the output's long-term spectra
// side by side in one picture, labelled with the preset and every setting.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "host/audio_file.h"
#include "host/commands.h"
#include "host/comparison_plot.h"
#include "host/demo_signal.h"
#include "host/errors.h"
#include "host/loaded_plugin.h"
#include "host/plugin_settings.h"

namespace {

constexpr double kDefaultRate = 44100.0;
constexpr int32_t kBlock = 512;
constexpr size_t kSettingsPerLine = 5;

StereoSignal readInput(const Invocation& invocation) {
    if (invocation.inputPath.empty()) return makeDemoSignal(invocation.sampleRate.value_or(kDefaultRate));
    AudioFileReader file(invocation.inputPath);
    if (invocation.sampleRate && *invocation.sampleRate != file.sampleRate())
        throw UsageError("--rate only sets the demo signal's rate; " + invocation.inputPath + " plays at its own rate.");
    StereoSignal signal;
    signal.sampleRate = file.sampleRate();
    std::vector<float> left(65536), right(65536);
    while (const size_t got = file.read(left.data(), right.data(), left.size())) {
        signal.left.insert(signal.left.end(), left.begin(), left.begin() + static_cast<std::ptrdiff_t>(got));
        signal.right.insert(signal.right.end(), right.begin(), right.begin() + static_cast<std::ptrdiff_t>(got));
    }
    return signal;
}

StereoSignal process(LoadedPlugin& plugin, const StereoSignal& in) {
    StereoSignal out{in.sampleRate, std::vector<float>(in.frames()), std::vector<float>(in.frames())};
    plugin.prepareAudio();
    plugin.start();
    for (size_t at = 0; at < in.frames(); at += kBlock) {
        const auto n = static_cast<int32_t>(std::min<size_t>(kBlock, in.frames() - at));
        plugin.process(in.left.data() + at, in.right.data() + at, out.left.data() + at, out.right.data() + at, n);
    }
    plugin.stop();
    return out;
}

double rmsDbfs(const StereoSignal& s) {
    double sum = 0.0;
    for (size_t i = 0; i < s.frames(); ++i) sum += double(s.left[i]) * s.left[i] + double(s.right[i]) * s.right[i];
    return 10.0 * std::log10(sum / (2.0 * static_cast<double>(std::max<size_t>(s.frames(), 1))) + 1e-30);
}

std::string formatted(const char* format, double value) {
    char text[96];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Every parameter as the plug-in shows it, a few to a line.
std::vector<std::string> settingLines(LoadedPlugin& plugin) {
    std::vector<std::string> lines;
    for (int32_t i = 0; i < plugin.parameterCount(); ++i) {
        if (static_cast<size_t>(i) % kSettingsPerLine == 0) lines.emplace_back();
        std::string item = plugin.parameterName(i) + " " + plugin.parameterDisplay(i);
        if (const std::string label = plugin.parameterLabel(i); !label.empty()) item += " " + label;
        lines.back() += (lines.back().empty() ? "" : "   ") + item;
    }
    return lines;
}

}  // namespace

int runCompare(const Invocation& invocation) {
    const StereoSignal input = readInput(invocation);
    if (input.frames() < 4096) throw UsageError("The input is too short for a spectrum; it needs 4096 frames.");
    const auto loaded = loadPlugin(invocation.plugins.front());
    LoadedPlugin& plugin = *loaded;
    plugin.configure(input.sampleRate, kBlock);
    applySettings(plugin, invocation);
    std::string name = plugin.displayName();
    if (invocation.preset) {
        const std::vector<PresetListing> presets = plugin.presets();
        name += " \"" + presets[resolvePreset(*invocation.preset, presets, name)].name + "\"";
    }
    const std::vector<std::string> settings = settingLines(plugin);
    const StereoSignal output = process(plugin, input);

    const double inputDb = rmsDbfs(input), changeDb = rmsDbfs(output) - inputDb;
    const std::string source = invocation.inputPath.empty()
                                   ? "the demo signal"
                                   : std::filesystem::path(invocation.inputPath).filename().string();
    SpectrumPanel in{"Input: " + source,
                     {formatted("RMS %.1f dBFS", inputDb), "Long-term spectrum, both channels"},
                     averageSpectrum(input.left, input.right, input.sampleRate)};
    SpectrumPanel out{name, {formatted("Output RMS %+.1f dB relative to the input (input in grey)", changeDb)},
                      averageSpectrum(output.left, output.right, output.sampleRate)};
    out.lines.insert(out.lines.end(), settings.begin(), settings.end());
    writeComparisonPng(in, out, invocation.outputPath);
    std::printf("Wrote %s: the input's and %s's spectra; output RMS %+.1f dB relative to the input.\n",
                invocation.outputPath.c_str(), name.c_str(), changeDb);
    return 0;
}
