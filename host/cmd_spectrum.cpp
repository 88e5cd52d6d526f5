// velmora-host spectrum: a sine through the plug-in, the output's spectrum as
// a picture, and the alias-to-harmonic power ratio on stdout.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "host/commands.h"
#include "host/errors.h"
#include "host/loaded_plugin.h"
#include "host/plugin_settings.h"
#include "host/spectrum_analysis.h"
#include "host/spectrum_plot.h"

namespace {

constexpr double kDefaultRate = 44100.0;
constexpr double kDefaultToneHz = 4987.0;
constexpr double kToneDbfs = -6.0;
constexpr int32_t kBlock = 512;
constexpr double kPi = 3.14159265358979323846;

// A second of settling (filters, ramps) before the analysed stretch, which
// spans at least 1.2 seconds as a power of two of frames.
size_t analysedFrames(double rate) {
    size_t frames = 1;
    while (static_cast<double>(frames) < 1.2 * rate) frames *= 2;
    return frames;
}

// The left output of the tone on both inputs, after the settling time.
std::vector<double> renderTone(LoadedPlugin& plugin, double rate, double toneHz, size_t analysed) {
    plugin.prepareAudio();
    const size_t settle = static_cast<size_t>(rate);
    const double amplitude = std::pow(10.0, kToneDbfs / 20.0);
    std::vector<float> in(kBlock), outLeft(kBlock), outRight(kBlock);
    std::vector<double> kept;
    kept.reserve(analysed);
    plugin.start();
    for (size_t done = 0; done < settle + analysed; done += kBlock) {
        const size_t n = std::min<size_t>(kBlock, settle + analysed - done);
        for (size_t i = 0; i < n; ++i)
            in[i] = static_cast<float>(amplitude * std::sin(2.0 * kPi * toneHz * static_cast<double>(done + i) / rate));
        plugin.process(in.data(), in.data(), outLeft.data(), outRight.data(), static_cast<int32_t>(n));
        for (size_t i = 0; i < n; ++i)
            if (done + i >= settle) kept.push_back(outLeft[i]);
    }
    plugin.stop();
    return kept;
}

std::string caption(LoadedPlugin& plugin, const Invocation& invocation, double rate, double toneHz) {
    char head[160];
    std::snprintf(head, sizeof head, "%s: %.0f Hz sine at %.0f dBFS, %.0f Hz", plugin.displayName().c_str(), toneHz,
                  kToneDbfs, rate);
    std::string text = head;
    for (const ParamAssignment& set : invocation.assignments) {
        char item[64];
        std::snprintf(item, sizeof item, ", %s=%g", set.target.c_str(), set.value);
        text += item;
    }
    return text;
}

}  // namespace

int runSpectrum(const Invocation& invocation) {
    const double rate = invocation.sampleRate.value_or(kDefaultRate);
    const double toneHz = invocation.toneHz.value_or(kDefaultToneHz);
    if (!(toneHz < rate / 2.0)) {
        char sentence[160];
        std::snprintf(sentence, sizeof sentence, "The tone of %g Hz must lie below half the sample rate (%g Hz).",
                      toneHz, rate / 2.0);
        throw UsageError(sentence);
    }
    const auto loaded = loadPlugin(invocation.plugins.front());
    LoadedPlugin& plugin = *loaded;
    plugin.configure(rate, kBlock);
    applySettings(plugin, invocation);
    const std::vector<double> output = renderTone(plugin, rate, toneHz, analysedFrames(rate));
    const ToneSpectrum spectrum = analyseTone(output, rate, toneHz);
    if (!(spectrum.harmonicPower > 0.0) || !std::isfinite(spectrum.harmonicPower))
        throw HostError(plugin.displayName() + " gave no usable output for the tone, so there is no spectrum to show.");

    // When the tone divides the rate, every folded harmonic lands on another
    // harmonic, where no analysis can tell it apart.
    const double periods = rate / toneHz;
    if (std::fabs(periods - std::round(periods)) * toneHz < 2.0 * spectrum.binHz)
        std::fprintf(stderr, "Note: %g Hz divides the sample rate, so aliases fall onto harmonics and count as them; "
                             "a tone such as %g Hz avoids that.\n", toneHz, toneHz + 13.0);
    writeSpectrumPng(spectrum, caption(plugin, invocation, rate, toneHz), invocation.outputPath);
    std::printf("Alias-to-harmonic power ratio: %.1f dB (harmonics %.1f dBFS, aliases %.1f dBFS); wrote %s.\n",
                spectrum.aliasToHarmonicDb(), 10.0 * std::log10(spectrum.harmonicPower / 0.5),
                10.0 * std::log10(std::max(spectrum.aliasPower, 1e-300) / 0.5), invocation.outputPath.c_str());
    return 0;
}
