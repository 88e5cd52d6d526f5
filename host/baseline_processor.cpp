#include "host/baseline_processor.h"

#include "dsp/reference/scalar_distortion_processor.h"

static_assert(BaselineProcessor::kParameterCount == kNumParameters);

BaselineProcessor::BaselineProcessor(const std::vector<float>& values, float sampleRate) : sampleRate_(sampleRate) {
    for (int i = 0; i < kParameterCount; ++i) values_[i] = i < static_cast<int>(values.size()) ? values[i] : 0.0f;
    processor_ = std::make_unique<ScalarDistortionProcessor>(values_, &sampleRate_);
}

BaselineProcessor::~BaselineProcessor() = default;

void BaselineProcessor::process(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                                int32_t frames) {
    // The signal path only reads its inputs; the host's signal is const.
    float* inputs[2] = {const_cast<float*>(inLeft), const_cast<float*>(inRight)};
    float* outputs[2] = {outLeft, outRight};
    processor_->processReplacing(inputs, outputs, frames);
}
