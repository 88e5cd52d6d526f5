#include "host/demo_signal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kBeat = 0.5;  // 120 beats per minute
constexpr double kChordLength = 4 * kBeat;

// A-minor loop: Am, F, C, G, one bar each. Frequencies in Hz.
struct Chord {
    double bass;
    double notes[3];
};
constexpr Chord kChords[] = {
    {55.00, {220.00, 261.63, 329.63}},  // A minor
    {43.65, {174.61, 220.00, 261.63}},  // F major
    {65.41, {196.00, 261.63, 329.63}},  // C major (G3 C4 E4)
    {49.00, {196.00, 246.94, 293.66}},  // G major
};
constexpr int kChordCount = sizeof kChords / sizeof kChords[0];

// Bass pattern per eighth note: octave multiplier of the chord's root.
constexpr double kBassOctave[8] = {1, 1, 2, 1, 1, 2, 1, 1.5};

// Small fixed-seed generator: the same noise on every run and platform.
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed) {}
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    uint32_t state_;
};

// A saw-like tone from its first few harmonics, soft enough to stay musical.
double softSaw(double phase) {
    double sum = 0.0;
    for (int k = 1; k <= 6; ++k) sum += std::sin(k * phase) / k;
    return sum * 0.55;
}

const Chord& chordAt(double t) {
    const int index = std::min(static_cast<int>(t / kChordLength), kChordCount - 1);
    return kChords[index];
}

}  // namespace

size_t demoSignalFrames(double sampleRate) {
    return static_cast<size_t>(std::llround(kDemoSeconds * sampleRate));
}

StereoSignal makeDemoSignal(double sampleRate) {
    StereoSignal signal;
    signal.sampleRate = sampleRate;
    const size_t frames = demoSignalFrames(sampleRate);
    signal.left.assign(frames, 0.0f);
    signal.right.assign(frames, 0.0f);

    const double dt = 1.0 / sampleRate;
    Noise snareNoise(0x9E3779B9u);
    Noise hatNoise(0x85EBCA6Bu);
    double bassPhase = 0.0;
    double kickPhase = 0.0;
    double padPhase[3][2] = {};
    double previousHatNoise = 0.0;
    std::vector<double> left(frames), right(frames);

    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) * dt;
        const Chord& chord = chordAt(t);

        // Bass: one plucked note per eighth.
        const double eighth = kBeat / 2;
        const int eighthIndex = static_cast<int>(t / eighth);
        const double sinceEighth = t - eighthIndex * eighth;
        const double bassFrequency = chord.bass * kBassOctave[eighthIndex % 8];
        bassPhase = std::fmod(bassPhase + kTwoPi * bassFrequency * dt, kTwoPi);
        const double bassEnvelope = std::exp(-sinceEighth * 9.0) * std::min(1.0, sinceEighth * 400.0);
        const double bass = 0.45 * bassEnvelope * (std::sin(bassPhase) + 0.3 * std::sin(2 * bassPhase) +
                                                   0.15 * std::sin(3 * bassPhase));

        // Pad: two slightly detuned voices per note, one leaning left, one right,
        // swelling in at each chord change.
        const double sinceChord = std::fmod(t, kChordLength);
        const double padEnvelope = std::min(1.0, sinceChord / 0.15) * std::min(1.0, (kChordLength - sinceChord) / 0.05);
        double padLeft = 0.0, padRight = 0.0;
        for (int n = 0; n < 3; ++n) {
            for (int v = 0; v < 2; ++v) {
                const double detune = v == 0 ? 0.997 : 1.003;
                double& phase = padPhase[n][v];
                phase = std::fmod(phase + kTwoPi * chord.notes[n] * detune * dt, kTwoPi);
                const double sample = softSaw(phase);
                padLeft += sample * (v == 0 ? 0.7 : 0.3);
                padRight += sample * (v == 0 ? 0.3 : 0.7);
            }
        }
        padLeft *= 0.07 * padEnvelope;
        padRight *= 0.07 * padEnvelope;

        // Kick on every beat: a sine sweeping down from 150 Hz.
        const double sinceBeat = std::fmod(t, kBeat);
        const double kickFrequency = 45.0 + 105.0 * std::exp(-sinceBeat * 30.0);
        kickPhase = sinceBeat < dt ? 0.0 : kickPhase + kTwoPi * kickFrequency * dt;
        const double kick = 0.9 * std::exp(-sinceBeat * 12.0) * std::sin(kickPhase);

        // Snare on beats 2 and 4: a noise burst over a short 190 Hz tone.
        const double sinceBackbeat = std::fmod(t + kBeat, 2 * kBeat);
        const double snareWhite = snareNoise.next();
        const double snare = sinceBackbeat < kBeat
                                 ? std::exp(-sinceBackbeat * 25.0) *
                                       (0.35 * snareWhite + 0.25 * std::sin(kTwoPi * 190.0 * sinceBackbeat))
                                 : 0.0;

        // Hi-hat on every eighth: differenced noise (all treble), short decay.
        const double white = hatNoise.next();
        const double hiss = white - previousHatNoise;
        previousHatNoise = white;
        const double accent = eighthIndex % 2 == 0 ? 1.0 : 0.6;
        const double hat = 0.12 * accent * std::exp(-sinceEighth * 60.0) * hiss;

        left[i] = bass + padLeft + kick + snare + 0.8 * hat;
        right[i] = bass + padRight + kick + snare + hat;
    }

    // Fade the last 50 ms so the loop ends without a click, then scale to the
    // fixed peak so the level does not depend on how the parts add up.
    const size_t fade = std::min(frames, static_cast<size_t>(0.05 * sampleRate));
    for (size_t i = 0; i < fade; ++i) {
        const double gain = static_cast<double>(i) / static_cast<double>(fade);
        left[frames - 1 - i] *= gain;
        right[frames - 1 - i] *= gain;
    }
    double peak = 0.0;
    for (size_t i = 0; i < frames; ++i) peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    const double scale = peak > 0.0 ? kDemoPeak / peak : 0.0;
    for (size_t i = 0; i < frames; ++i) {
        signal.left[i] = static_cast<float>(left[i] * scale);
        signal.right[i] = static_cast<float>(right[i] * scale);
    }
    return signal;
}
