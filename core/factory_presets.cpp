#include "core/factory_presets.h"

#include "dsp/shaper_type.h"

namespace {

// Drive as the Gain knob's dB: the law spans -20 .. +60 dB linearly in the
// normalised value, so this is exact.
constexpr float driveDb(float dB) { return (dB + 20.0f) / 80.0f; }

// The lowest value that selects a curve.
constexpr float curve(ShaperType type) {
    const int index = static_cast<int>(type);
    return index == 0 ? 0.0f : kShaperThresholds[index - 1];
}

constexpr float kSat1 = curve(ShaperType::Saturation1);
constexpr float kSat2 = curve(ShaperType::Saturation2);
constexpr float kSat3 = curve(ShaperType::Saturation3);
constexpr float kClip = curve(ShaperType::HardClip);
constexpr float kPunch = curve(ShaperType::Puncher);
constexpr float kSinus = curve(ShaperType::Sinus);
constexpr float kCrackle = curve(ShaperType::Crackler);

// Crossover values are log(f / 20 Hz) / log(1000); the frequency is noted.
struct Band {
    float drive;  // normalised Gain
    float type;
    float level;  // normalised Level
};

struct Split {
    float cross1;
    float cross2;
    bool postFilter;
};

// Balances centred and solos off: a preset never mutes a band by solo.
constexpr std::array<float, kNumParameters> settings(Split split, Band low, Band mid, Band high, float master) {
    std::array<float, kNumParameters> v{};
    v[kCross1] = split.cross1;
    v[kCross2] = split.cross2;
    v[kPFilter] = split.postFilter ? 1.0f : 0.0f;
    v[kBalance1] = v[kBalance2] = v[kBalance3] = 0.5f;
    const Band bands[3] = {low, mid, high};
    for (int b = 0; b < 3; ++b) {
        v[kGain1 + b] = bands[b].drive;
        v[kType1 + b] = bands[b].type;
        v[kLevel1 + b] = bands[b].level;
    }
    v[kMaster] = master;
    return v;
}

}  // namespace

// Each Master is set so that pink noise at -18 dBFS RMS comes out at the
// input's integrated loudness (ITU-R BS.1770), within a few tenths of a LU
// (tests/host/factory_presets_test.cpp measures it), so switching presets
// compares sounds, not loudness.
constexpr std::array<FactoryPreset, kFactoryPresetCount> kFactoryPresets = {{
    {"bass-warmth", "Bass Warmth", "Bass", "Round low-end saturation that thickens a bass without blurring it",
     settings({0.2594f /* 120 Hz */, 0.5927f /* 1.2 kHz */, true}, {driveDb(6), kSat1, 1.0f},
              {driveDb(14), kSat2, 0.9f}, {driveDb(0), kSat1, 0.8f}, 0.9172f),
     1.0f},
    {"bass-growl", "Bass Growl", "Bass", "Clipped upper mids for a synth or DI bass that must cut through",
     settings({0.2917f /* 150 Hz */, 0.6990f /* 2.5 kHz */, true}, {driveDb(4), kSat1, 1.0f},
              {driveDb(24), kClip, 0.85f}, {driveDb(6), kSinus, 0.7f}, 0.7785f),
     1.0f},
    {"kick-punch", "Kick Punch", "Drums", "Puncher on the lows: a fatter kick with tighter transients",
     settings({0.2330f /* 100 Hz */, 0.7254f /* 3 kHz */, false}, {driveDb(6), kPunch, 1.0f},
              {driveDb(4), kSat1, 0.9f}, {driveDb(0), kSat1, 0.9f}, 0.9153f),
     1.0f},
    {"snare-crack", "Snare Crack", "Drums", "Hard-clipped mids that push a snare's body and rattle forward",
     settings({0.3333f /* 200 Hz */, 0.7993f /* 5 kHz */, false}, {driveDb(0), kSat1, 0.9f},
              {driveDb(18), kClip, 1.0f}, {driveDb(8), kSat2, 0.85f}, 0.6574f),
     1.0f},
    {"drum-bus-smash", "Drum Bus Smash", "Drums", "Crushed drums blended under the clean kit (Mix 40 %)",
     settings({0.2917f /* 150 Hz */, 0.7670f /* 4 kHz */, false}, {driveDb(30), kClip, 1.0f},
              {driveDb(36), kClip, 1.0f}, {driveDb(24), kSat2, 1.0f}, 0.5124f),
     0.4f},
    {"guitar-crunch", "Guitar Crunch", "Guitar", "Amp-like crunch for a clean DI guitar; the post filter tames fizz",
     settings({0.3333f /* 200 Hz */, 0.6667f /* 2 kHz */, true}, {driveDb(10), kSat2, 0.8f},
              {driveDb(30), kSat2, 1.0f}, {driveDb(14), kSat3, 0.75f}, 0.6280f),
     1.0f},
    {"lead-fuzz", "Lead Fuzz", "Guitar", "Saturated, singing fuzz for solos and riffs",
     settings({0.3656f /* 250 Hz */, 0.7477f /* 3.5 kHz */, true}, {driveDb(24), kClip, 0.7f},
              {driveDb(44), kClip, 1.0f}, {driveDb(30), kSat2, 0.7f}, 0.5731f),
     1.0f},
    {"vocal-presence", "Vocal Presence", "Vocals", "Gentle upper-mid saturation that lifts a voice in the mix",
     settings({0.3920f /* 300 Hz */, 0.7254f /* 3 kHz */, false}, {driveDb(0), kSat1, 1.0f},
              {driveDb(6), kSat3, 1.0f}, {driveDb(8), kSat1, 1.0f}, 0.7929f),
     0.7f},
    {"vocal-grit", "Vocal Grit", "Vocals", "Edgy mid distortion for rap, rock or shouted vocals, half wet",
     settings({0.3656f /* 250 Hz */, 0.7993f /* 5 kHz */, false}, {driveDb(0), kSat1, 0.9f},
              {driveDb(24), kSat2, 1.0f}, {driveDb(6), kSat1, 0.8f}, 0.6456f),
     0.55f},
    {"mix-bus-glue", "Mix Bus Glue", "Bus", "A touch of saturation on every band to gel a mix or a group",
     settings({0.2917f /* 150 Hz */, 0.7670f /* 4 kHz */, false}, {driveDb(4), kSat1, 1.0f},
              {driveDb(4), kSat1, 1.0f}, {driveDb(2), kSat1, 1.0f}, 0.8669f),
     1.0f},
    {"tape-warmth", "Tape Warmth", "Bus", "Asymmetric saturation with softened highs, like a hot tape",
     settings({0.2330f /* 100 Hz */, 0.8257f /* 6 kHz */, true}, {driveDb(8), kSat3, 1.0f},
              {driveDb(8), kSat3, 1.0f}, {driveDb(4), kSat3, 0.8f}, 0.8304f),
     1.0f},
    {"lo-fi-crackle", "Lo-Fi Crackle", "Lo-fi", "Grainy crackle on the highs over a dulled, warm body",
     settings({0.3333f /* 200 Hz */, 0.6990f /* 2.5 kHz */, true}, {driveDb(8), kSat2, 1.0f},
              {driveDb(14), kSat2, 0.9f}, {driveDb(12), kCrackle, 0.8f}, 0.8772f),
     1.0f},
    {"broken-radio", "Broken Radio", "Lo-fi", "A narrow, crackling mid band with the lows and highs gone",
     settings({0.4337f /* 400 Hz */, 0.7254f /* 3 kHz */, true}, {driveDb(0), kSat1, 0.0f},
              {driveDb(18), kCrackle, 1.0f}, {driveDb(0), kSat1, 0.0f}, 0.8468f),
     1.0f},
    {"synth-wavefolder", "Synth Wavefolder", "Synths", "Sinus folding that turns pads and leads metallic and bright",
     settings({0.2917f /* 150 Hz */, 0.7254f /* 3 kHz */, false}, {driveDb(4), kSat1, 1.0f},
              {driveDb(20), kSinus, 1.0f}, {driveDb(14), kSinus, 0.8f}, 0.6201f),
     1.0f},
    {"parallel-smash", "Parallel Smash", "Any source", "Extreme clipping at Mix 30 %: density that keeps the dry attack",
     settings({0.2594f /* 120 Hz */, 0.7254f /* 3 kHz */, true}, {driveDb(40), kClip, 1.0f},
              {driveDb(44), kClip, 1.0f}, {driveDb(36), kClip, 1.0f}, 0.5304f),
     0.3f},
    {"keys-overdrive", "Keys Overdrive", "Keys", "Warm overdrive for electric piano and organ",
     settings({0.3333f /* 200 Hz */, 0.6990f /* 2.5 kHz */, true}, {driveDb(6), kSat2, 0.9f},
              {driveDb(20), kSat2, 1.0f}, {driveDb(6), kSat1, 0.8f}, 0.7062f),
     1.0f},
}};

namespace {

constexpr char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool sameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// Hosts merge presets of equal labels and look them up by name, so names
// (and keys) must differ in more than letter case; a preset must also come
// out of the setters as written, so nothing outside 0..1 and no crossover
// pair that the Cross1 <= Cross2 push would move.
constexpr bool tableIsSound() {
    for (std::size_t i = 0; i < kFactoryPresets.size(); ++i) {
        const FactoryPreset& p = kFactoryPresets[i];
        const std::string_view name = p.name;
        if (name.empty() || name.size() > kFactoryPresetNameMax || std::string_view(p.key).empty()) return false;
        if (std::string_view(p.description).empty() || std::string_view(p.use).empty()) return false;
        for (float v : p.values)
            if (!(v >= 0.0f && v <= 1.0f)) return false;
        if (!(p.mix >= 0.0f && p.mix <= 1.0f) || p.values[kCross1] > p.values[kCross2]) return false;
        for (std::size_t j = 0; j < i; ++j) {
            const FactoryPreset& q = kFactoryPresets[j];
            if (sameIgnoringCase(name, q.name) || sameIgnoringCase(p.key, q.key) || sameIgnoringCase(name, q.key) ||
                sameIgnoringCase(p.key, q.name))
                return false;
        }
    }
    return true;
}

static_assert(tableIsSound(), "a factory preset has a bad name, key or value");

}  // namespace

const FactoryPreset* findFactoryPreset(std::string_view nameOrKey) {
    for (const FactoryPreset& preset : kFactoryPresets)
        if (sameIgnoringCase(nameOrKey, preset.name) || sameIgnoringCase(nameOrKey, preset.key)) return &preset;
    return nullptr;
}
