// process: every parameter point applies at its sample offset, and the audio
// between two offsets runs with the values before the later one, exactly as
// the CLAP adapter splits a block at its events, so the same changes give the
// same bits in both formats. Points are applied as steps (the format allows
// it), which is also how VST 2 hosts split.
#include <algorithm>
#include <cmath>

#include "core/denormal_mode.h"
#include "core/host_entry_guard.h"
#include "vst3/vst3_effect.h"
#include "vst3/vst3_host_reference.h"
#include "vst3/vst3_parameters.h"
#include "vst3/vst3_point_merge.h"

namespace {

float* const* stereoChannels(const vvst3::AudioBusBuffers* buses, int32_t count) {
    if (buses == nullptr || count < 1 || buses[0].numChannels < 2) return nullptr;
    float* const* channels = buses[0].channelBuffers32;
    return channels != nullptr && channels[0] != nullptr && channels[1] != nullptr ? channels : nullptr;
}

}  // namespace

vvst3::tresult VVST3_CALL Vst3Effect::process(vvst3::ProcessData& data) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (isNullReference(data)) return vvst3::kInvalidArgument;
        if (!effect.isActive()) return vvst3::kNotInitialized;
        if (data.symbolicSampleSize != vvst3::kSample32 || data.numSamples < 0) return vvst3::kInvalidArgument;
        const int32_t frames = data.numSamples;
        float* const* in = stereoChannels(data.inputs, data.numInputs);
        float* const* out = stereoChannels(data.outputs, data.numOutputs);
        const bool audio = frames > 0 && in != nullptr && out != nullptr;
        const DenormalModeScope denormals(denormalBits);
        const auto run = [&](int32_t from, int32_t to) {
            float* inputs[2] = {in[0] + from, in[1] + from};
            float* outputs[2] = {out[0] + from, out[1] + from};
            effect.process(inputs, outputs, to - from);
        };
        ParameterPointMerge points(data.inputParameterChanges);
        int32_t done = 0;
        for (ParameterPoint point; points.next(point);) {
            // An offset outside the block (a host's mistake) applies at its edge.
            const int32_t at = std::clamp(point.offset, 0, frames);
            if (audio && at > done) run(done, at);
            done = std::max(done, at);
            applyPoint(point.id, point.value, std::min(done, std::max(frames - 1, 0)), data.outputParameterChanges);
        }
        if (audio && done < frames) run(done, frames);
        if (audio) data.outputs[0].silenceFlags = 0;
        return audio || frames == 0 ? vvst3::kResultOk : vvst3::kInvalidArgument;
    });
}

// A value from the host. What the plug-in changed beyond it (a crossover
// pushed along by the other) goes back at the same offset, so the host's
// lanes and controls hold what is heard. NaN changes nothing.
void Vst3Effect::applyPoint(vvst3::ParamID id, double normalised, int32_t offset, vvst3::IParameterChanges* out) {
    if (id == kProgramParameterId) {
        if (std::isnan(normalised)) return;
        loadProgram(programIndexOf(normalised));
        reportProgramValues(out, offset);
        requestRestart(vvst3::restart::kParamValuesChanged);
        return;
    }
    double coreValue = 0.0;
    if (!coreValueOf(id, normalised, coreValue)) return;
    const HostValueReports reports = effect.applyHostValue(id, coreValue);
    for (uint32_t k = 0; k < reports.count; ++k)
        reportPoint(out, reports.reports[k].id, normalisedOf(reports.reports[k].id, reports.reports[k].value), offset);
    if (reports.restartNeeded) requestRestart(vvst3::restart::kLatencyChanged);
}

void Vst3Effect::reportPoint(vvst3::IParameterChanges* out, vvst3::ParamID id, double normalised, int32_t offset) {
    if (out == nullptr) return;
    int32_t queueIndex = 0;
    vvst3::IParamValueQueue* queue = out->addParameterData(id, queueIndex);
    int32_t pointIndex = 0;
    if (queue != nullptr) queue->addPoint(offset, normalised, pointIndex);
}
