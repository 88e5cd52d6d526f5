// The VST 3 plug-in's processing: bus negotiation, setup, activation, the
// process calls and the restarts the plug-in asks for.
#include <algorithm>
#include <climits>

#include "host/errors.h"
#include "host/vst3_plugin.h"

namespace {

constexpr int32_t kMaxBuses = 16;

}  // namespace

std::vector<int32_t> Vst3Plugin::busChannels(vvst3::BusDirection direction) {
    std::vector<int32_t> channels;
    const int32_t count = std::clamp(component_->getBusCount(vvst3::kAudio, direction), 0, kMaxBuses);
    for (int32_t i = 0; i < count; ++i) {
        vvst3::BusInfo bus{};
        const bool known = component_->getBusInfo(vvst3::kAudio, direction, i, bus) == vvst3::kResultOk;
        channels.push_back(known ? bus.channelCount : 0);
    }
    return channels;
}

// Stereo for the first bus each way, the others as they are. A plug-in that
// refuses keeps its own arrangement, which the buffers then follow.
void Vst3Plugin::negotiateBuses() {
    std::vector<vvst3::SpeakerArrangement> arrangements[2];
    for (const vvst3::BusDirection direction : {vvst3::kInput, vvst3::kOutput}) {
        auto& list = arrangements[direction];
        list.resize(busChannels(direction).size(), vvst3::speaker_arrangement::kEmpty);
        for (size_t i = 0; i < list.size(); ++i) {
            if (i == 0) {
                list[i] = vvst3::speaker_arrangement::kStereo;
            } else {
                processor_->getBusArrangement(direction, static_cast<int32_t>(i), list[i]);
            }
        }
    }
    const vvst3::tresult accepted = processor_->setBusArrangements(
        arrangements[vvst3::kInput].data(), static_cast<int32_t>(arrangements[vvst3::kInput].size()),
        arrangements[vvst3::kOutput].data(), static_cast<int32_t>(arrangements[vvst3::kOutput].size()));
    if (accepted != vvst3::kResultTrue) context_.trace("setBusArrangements refused stereo");
}

void Vst3Plugin::setUp() {
    if (setUp_) return;
    negotiateBuses();
    if (processor_->canProcessSampleSize(vvst3::kSample32) == vvst3::kResultFalse)
        throw HostError("The plug-in " + displayName() + " cannot process 32-bit samples.");
    vvst3::ProcessSetup setup{vvst3::kRealtime, vvst3::kSample32, maxFrames_, sampleRate_};
    if (processor_->setupProcessing(setup) != vvst3::kResultOk) {
        throw HostError("The plug-in " + displayName() + " refused to process at " +
                        std::to_string(static_cast<long>(sampleRate_)) + " Hz in blocks of up to " +
                        std::to_string(maxFrames_) + " frames.");
    }
    for (const vvst3::BusDirection direction : {vvst3::kInput, vvst3::kOutput}) {
        const auto count = static_cast<int32_t>(busChannels(direction).size());
        for (int32_t i = 0; i < count; ++i) component_->activateBus(vvst3::kAudio, direction, i, 1);
    }
    setUp_ = true;
}

void Vst3Plugin::configure(double sampleRate, int32_t maxFrames) {
    if (sampleRate == sampleRate_ && maxFrames == maxFrames_) return;
    sampleRate_ = sampleRate;
    maxFrames_ = maxFrames;
    // Setup happens only while inactive; the next start sets up again.
    setUp_ = false;
    buffers_.reset();
}

void Vst3Plugin::prepareAudio() {
    if (buffers_) return;
    setUp();
    buffers_ = std::make_unique<Vst3Buffers>(busChannels(vvst3::kInput), busChannels(vvst3::kOutput), maxFrames_);
}

bool Vst3Plugin::activate() {
    if (active_) return true;
    setUp();
    active_ = component_->setActive(1) == vvst3::kResultOk;
    return active_;
}

void Vst3Plugin::deactivate() {
    if (!active_) return;
    component_->setActive(0);
    active_ = false;
}

void Vst3Plugin::start() {
    if (!activate()) {
        throw HostError("The plug-in " + displayName() + " did not activate at " +
                        std::to_string(static_cast<long>(sampleRate_)) + " Hz.");
    }
    if (processing_) return;
    beginProcessing();
    // Values set before the start reach the processor before any audio, and
    // a restart they cause (a new latency) happens now, not after a block.
    flushIfDue();
    restartIfAsked();
}

void Vst3Plugin::beginProcessing() {
    // Plug-ins with nothing to do here may answer "not implemented"; the
    // state changes all the same.
    processor_->setProcessing(1);
    processing_ = true;
}

void Vst3Plugin::stop() {
    if (processing_) {
        processor_->setProcessing(0);
        processing_ = false;
    }
    deactivate();
}

// The plug-in reports its latency from the activation on; asked while
// inactive, it is activated just for the question.
int32_t Vst3Plugin::latency() {
    const bool wasActive = active_;
    if (!activate()) return 0;
    const uint32_t samples = processor_->getLatencySamples();
    if (!wasActive) deactivate();
    return static_cast<int32_t>(std::min<uint32_t>(samples, INT32_MAX));
}

void Vst3Plugin::process(const float* inLeft, const float* inRight, float* outLeft, float* outRight, int32_t frames) {
    processBlock(inLeft, inRight, outLeft, outRight, frames);
    restartIfAsked();
}

void Vst3Plugin::processBlock(const float* inLeft, const float* inRight, float* outLeft, float* outRight,
                              int32_t frames) {
    if (!processing_ || !buffers_) {
        // A plug-in that is not running gives silence, as a host plays it.
        std::fill_n(outLeft, frames, 0.0f);
        std::fill_n(outRight, frames, 0.0f);
        return;
    }
    buffers_->load(inLeft, inRight, frames);
    vvst3::ProcessData data{};
    data.processMode = vvst3::kRealtime;
    data.symbolicSampleSize = vvst3::kSample32;
    data.numSamples = frames;
    buffers_->describe(data);
    data.inputParameterChanges = &pending_;
    data.outputParameterChanges = &produced_;
    const vvst3::tresult result = processor_->process(data);
    pending_.clear();
    forwardProduced();
    if (result != vvst3::kResultOk) {
        std::fill_n(outLeft, frames, 0.0f);
        std::fill_n(outRight, frames, 0.0f);
    } else {
        buffers_->store(outLeft, outRight, frames);
    }
}

// Without audio running (the editor alone), edits reach the processor in a
// call of no frames and no buses, as hosts deliver them while stopped.
void Vst3Plugin::flushIfDue() {
    if (!processing_ || pending_.empty()) return;
    vvst3::ProcessData data{};
    data.processMode = vvst3::kRealtime;
    data.symbolicSampleSize = vvst3::kSample32;
    data.inputParameterChanges = &pending_;
    data.outputParameterChanges = &produced_;
    processor_->process(data);
    pending_.clear();
    forwardProduced();
}

// What the processor reports back (a pushed value, a meter) becomes the
// controller's value, as a host shows it.
void Vst3Plugin::forwardProduced() {
    if (controller_ != nullptr) {
        for (int32_t i = 0; i < produced_.getParameterCount(); ++i) {
            auto* queue = static_cast<Vst3ParamValueQueue*>(produced_.getParameterData(i));
            if (queue->getPointCount() > 0) controller_->setParamNormalized(queue->getParameterId(), queue->lastValue());
        }
    }
    produced_.clear();
}

// Between blocks, as a host does: stop, reconfigure what changed, start
// again (the plug-in reports its new latency from the new activation).
void Vst3Plugin::restartIfAsked() {
    const int32_t flags = handler_.takeRestartFlags();
    if ((flags & (vvst3::restart::kLatencyChanged | vvst3::restart::kIoChanged)) == 0 || !active_) return;
    const bool wasProcessing = processing_;
    stop();
    if ((flags & vvst3::restart::kIoChanged) != 0) {
        setUp_ = false;
        buffers_.reset();
        prepareAudio();
    }
    if (!activate()) throw HostError("The plug-in " + displayName() + " did not activate again after a restart.");
    // A plug-in that asks again from the new activation waits for the next block.
    if (wasProcessing) beginProcessing();
    context_.trace("restarted with latency %u", processor_->getLatencySamples());
}
