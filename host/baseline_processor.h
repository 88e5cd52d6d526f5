// Velmora's plain one-channel signal path, run inside the host as the
// baseline that `bench --baseline` times next to the loaded plug-ins.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class ScalarDistortionProcessor;

class BaselineProcessor {
public:
    // values: the 19 normalised parameter values it runs with.
    BaselineProcessor(const std::vector<float>& values, float sampleRate);
    ~BaselineProcessor();

    void process(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames);

    static constexpr int kParameterCount = 19;

private:
    std::atomic<float> values_[kParameterCount];
    std::atomic<float> sampleRate_;
    std::unique_ptr<ScalarDistortionProcessor> processor_;
};
