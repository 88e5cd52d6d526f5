// The aliasing and the harmonic levels of the audio path at each shaping
// rate, measured on DistortionProcessor directly with the analysis of
// `velmora-host spectrum`:
// - a 4987 Hz sine at -6 dBFS, Gain 0.8 on every band, each curve: the
//   alias-to-harmonic power ratio at Normal, 2x, 4x and 8x, next to ideal
//   (brick-wall) resampling at the same rates (brick_wall_reference.h); the
//   tone is moved to the nearest bin centre (4986.96 Hz), which the ideal
//   reference needs;
// - a 100 Hz sine (bin-centred too) at -6 dBFS, same settings: how far each harmonic's level
//   moves from Normal's at each raised rate.
//   velmora_alias_measure [--pictures DIR]   (DIR gets Normal and 8x spectra)
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/brick_wall_reference.h"
#include "dsp/distortion_processor.h"
#include "dsp/shaper_type.h"
#include "host/spectrum_analysis.h"
#include "host/spectrum_plot.h"

namespace {

constexpr float kDefaults[kNumParameters] = {0.5f, 0.5f, 1.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.5f, 0.0f,
                                             0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f};
constexpr double kRate = 44100.0;
constexpr size_t kFrames = 65536;
constexpr double kPi = 3.14159265358979323846;
const double kAmplitude = std::pow(10.0, -6.0 / 20.0);
constexpr float kTypeValues[7] = {0.0f, 0.2f, 0.4f, 0.55f, 0.7f, 0.9f, 1.0f};
constexpr Oversampling kSettings[4] = {Oversampling::Normal, Oversampling::x2, Oversampling::x4, Oversampling::x8};
const char* const kSettingNames[4] = {"Normal", "2x", "4x", "8x"};

ReferenceSetup setupFor(float type, double toneHz) {
    ReferenceSetup s;
    s.sampleRate = kRate;
    s.frames = kFrames;
    s.amplitude = kAmplitude;
    // Whole periods in the analysed span, so the ideal reference is exact.
    s.toneHz = std::round(toneHz * kFrames / kRate) * kRate / kFrames;
    std::copy(std::begin(kDefaults), std::end(kDefaults), s.parameters);
    for (int b = 0; b < 3; ++b) {
        s.parameters[kGain1 + b] = 0.8f;
        s.parameters[kType1 + b] = type;
    }
    return s;
}

// The left output over the analysed span, after a second of settling.
std::vector<double> measure(const ReferenceSetup& s, Oversampling setting) {
    std::atomic<float> values[kNumParameters];
    for (int i = 0; i < kNumParameters; ++i) values[i] = s.parameters[i];
    std::atomic<float> rate{static_cast<float>(s.sampleRate)};
    DistortionProcessor processor(values, &rate);
    processor.setOversampling(setting);
    const size_t settle = static_cast<size_t>(s.sampleRate), total = settle + s.frames;
    std::vector<float> in(total), left(total), right(total);
    for (size_t n = 0; n < total; ++n)
        in[n] = static_cast<float>(s.amplitude * std::sin(2.0 * kPi * s.toneHz * static_cast<double>(n) / s.sampleRate));
    for (size_t done = 0; done < total; done += 512) {
        const int n = static_cast<int>(std::min<size_t>(512, total - done));
        float* inputs[2] = {in.data() + done, in.data() + done};
        float* outputs[2] = {left.data() + done, right.data() + done};
        processor.processReplacing(inputs, outputs, n);
    }
    return std::vector<double>(left.begin() + static_cast<long>(settle), left.end());
}

void aliasTable(const char* picturesDir) {
    std::printf("4987 Hz at -6 dBFS, Gain 0.8 on every band: alias-to-harmonic power, dB\n");
    std::printf("%-12s %8s %8s %8s %8s | %8s %8s %8s %8s | %8s\n", "curve", "Normal", "2x", "4x", "8x",
                "ideal1x", "ideal2x", "ideal4x", "ideal8x", "ideal64x");
    for (float type : kTypeValues) {
        const ReferenceSetup s = setupFor(type, 4987.0);
        const char* name = shaperTypeName(shaperTypeFor(type));
        std::printf("%-12s", name);
        for (int i = 0; i < 4; ++i) {
            const ToneSpectrum spectrum = analyseTone(measure(s, kSettings[i]), kRate, s.toneHz);
            std::printf(" %8.1f", spectrum.aliasToHarmonicDb());
            if (picturesDir && (i == 0 || i == 3)) {
                const std::string path = std::string(picturesDir) + "/" + name + "-" + kSettingNames[i] + ".png";
                writeSpectrumPng(spectrum, std::string(name) + ", Gain 0.8 on every band, " + kSettingNames[i], path);
            }
        }
        std::printf(" |");
        for (int factor : {1, 2, 4, 8, 64}) {
            if (factor == 64) std::printf(" |");
            std::printf(" %8.1f", analyseTone(brickWallReference(s, factor), kRate, s.toneHz).aliasToHarmonicDb());
        }
        std::printf("\n");
    }
}

// The largest level change from Normal among the harmonics up to 20 kHz
// whose Normal level lies within `range` dB of the strongest one.
double largestChange(const ToneSpectrum& normal, const ToneSpectrum& raised, double range) {
    double strongest = -400.0, largest = 0.0;
    for (int k = 1; k * normal.toneHz <= 20000.0; ++k) strongest = std::max(strongest, normal.harmonicLevelDb(k));
    for (int k = 1; k * normal.toneHz <= 20000.0; ++k) {
        if (normal.harmonicLevelDb(k) < strongest - range) continue;
        largest = std::max(largest, std::fabs(raised.harmonicLevelDb(k) - normal.harmonicLevelDb(k)));
    }
    return largest;
}

void flatnessTable() {
    std::printf("\n100 Hz (100.26) at -6 dBFS, Gain 0.8 on every band: largest harmonic level change from Normal, dB,\n"
                "among harmonics up to 20 kHz within 40 dB / 60 dB / 80 dB of the strongest\n");
    std::printf("%-12s %22s %22s %22s\n", "curve", "2x", "4x", "8x");
    for (float type : kTypeValues) {
        // Bin-centred (100.26 Hz), not exactly 100 Hz: 100 Hz divides 44100 Hz,
        // so Normal's aliases would fold exactly onto the harmonics and the
        // comparison would measure them, not the harmonics.
        const ReferenceSetup s = setupFor(type, 100.0);
        const ToneSpectrum normal = analyseTone(measure(s, Oversampling::Normal), kRate, s.toneHz);
        std::printf("%-12s", shaperTypeName(shaperTypeFor(type)));
        for (int i = 1; i < 4; ++i) {
            const ToneSpectrum raised = analyseTone(measure(s, kSettings[i]), kRate, s.toneHz);
            std::printf("   %6.3f %6.3f %6.3f", largestChange(normal, raised, 40.0), largestChange(normal, raised, 60.0),
                        largestChange(normal, raised, 80.0));
        }
        std::printf("\n");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const char* picturesDir = nullptr;
    if (argc == 3 && std::strcmp(argv[1], "--pictures") == 0) {
        picturesDir = argv[2];
    } else if (argc != 1) {
        std::fprintf(stderr, "Usage: velmora_alias_measure [--pictures DIR]\n");
        return 2;
    }
    aliasTable(picturesDir);
    flatnessTable();
    return 0;
}
