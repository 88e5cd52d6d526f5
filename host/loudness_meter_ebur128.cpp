#include <ebur128.h>

#include <cmath>
#include <vector>

#include "host/loudness_meter.h"

struct LoudnessMeter::State {
    ebur128_state* meter = nullptr;
    std::vector<float> interleaved;
};

LoudnessMeter::LoudnessMeter(double sampleRate) : state(std::make_unique<State>()) {
    state->meter = ebur128_init(2, static_cast<unsigned long>(sampleRate), EBUR128_MODE_I);
}

LoudnessMeter::~LoudnessMeter() {
    if (state->meter != nullptr) ebur128_destroy(&state->meter);
}

void LoudnessMeter::add(const float* left, const float* right, size_t frames) {
    if (state->meter == nullptr) return;
    state->interleaved.resize(2 * frames);
    for (size_t i = 0; i < frames; ++i) {
        state->interleaved[2 * i] = left[i];
        state->interleaved[2 * i + 1] = right[i];
    }
    ebur128_add_frames_float(state->meter, state->interleaved.data(), frames);
}

std::optional<double> LoudnessMeter::integrated() const {
    double lufs = 0.0;
    if (state->meter == nullptr || ebur128_loudness_global(state->meter, &lufs) != EBUR128_SUCCESS ||
        !std::isfinite(lufs))
        return std::nullopt;
    return lufs;
}
