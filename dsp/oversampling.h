// The rate at which the bands are shaped: the host's (Normal) or two, four or
// eight times it, so that the curves' harmonics above the host's Nyquist
// frequency are filtered away instead of folding back as aliases.
#pragma once

enum class Oversampling : int { Normal = 0, x2 = 1, x4 = 2, x8 = 3 };

constexpr int kMaxOversamplingFactor = 8;

// Values outside the enumeration count as the nearest setting.
constexpr Oversampling clampedOversampling(int value) {
    return static_cast<Oversampling>(value < 0 ? 0 : (value > 3 ? 3 : value));
}
constexpr int oversamplingFactor(Oversampling setting) { return 1 << static_cast<int>(setting); }
