// Integrated loudness (ITU-R BS.1770, in LUFS) of a stereo signal, fed
// block by block as a render runs. Measured by a well-kept library where the
// platform has one (libebur128 on Linux); the Windows build has none and
// reports no figure.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

class LoudnessMeter {
public:
    explicit LoudnessMeter(double sampleRate);
    ~LoudnessMeter();
    LoudnessMeter(const LoudnessMeter&) = delete;
    LoudnessMeter& operator=(const LoudnessMeter&) = delete;

    void add(const float* left, const float* right, size_t frames);
    // Nothing where no meter is available, or for silence (no gated block).
    std::optional<double> integrated() const;

private:
    struct State;
    std::unique_ptr<State> state;
};
