// The processor's configuration: one stereo bus each way, 32-bit samples,
// the activation that sets the rate and clears the audio path, and the
// latency of the Quality in effect.
#include <cmath>

#include "core/host_entry_guard.h"
#include "vst3/vst3_host_reference.h"
#include "vst3/vst3_effect.h"
#include "vst3/vst3_text16.h"

namespace {

bool isAudioBus(vvst3::MediaType type, vvst3::BusDirection dir, int32_t index) {
    return type == vvst3::kAudio && (dir == vvst3::kInput || dir == vvst3::kOutput) && index == 0;
}

}  // namespace

// There is no separate controller class: this object is the controller.
vvst3::tresult VVST3_CALL Vst3Effect::getControllerClassId(vvst3::TUID) { return vvst3::kNotImplemented; }

vvst3::tresult VVST3_CALL Vst3Effect::setIoMode(vvst3::IoMode) { return vvst3::kResultOk; }

int32_t VVST3_CALL Vst3Effect::getBusCount(vvst3::MediaType type, vvst3::BusDirection dir) {
    return isAudioBus(type, dir, 0) ? 1 : 0;
}

vvst3::tresult VVST3_CALL Vst3Effect::getBusInfo(vvst3::MediaType type, vvst3::BusDirection dir, int32_t index,
                                                 vvst3::BusInfo& bus) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (isNullReference(bus) || !isAudioBus(type, dir, index)) return vvst3::kInvalidArgument;
        bus = vvst3::BusInfo{};
        bus.mediaType = vvst3::kAudio;
        bus.direction = dir;
        bus.channelCount = 2;
        copyToText16(dir == vvst3::kInput ? "Stereo In" : "Stereo Out", bus.name, std::size(bus.name));
        bus.busType = vvst3::kMain;
        bus.flags = vvst3::BusInfo::kDefaultActive;
        return vvst3::kResultOk;
    });
}

vvst3::tresult VVST3_CALL Vst3Effect::getRoutingInfo(vvst3::RoutingInfo&, vvst3::RoutingInfo&) {
    return vvst3::kNotImplemented;
}

// Both buses are always processed; any inactive state may switch them.
vvst3::tresult VVST3_CALL Vst3Effect::activateBus(vvst3::MediaType type, vvst3::BusDirection dir, int32_t index,
                                                  vvst3::TBool) {
    return isAudioBus(type, dir, index) ? vvst3::kResultOk : vvst3::kInvalidArgument;
}

// A fresh audio path at the set-up rate, every value kept. A latency that
// moved while inactive (a loaded state, a Quality set then) is news to the
// host unless it is the answer to the restart we asked for.
vvst3::tresult VVST3_CALL Vst3Effect::setActive(vvst3::TBool state) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (!initialised) return vvst3::kNotInitialized;
        if (state == 0) {
            processing.store(false, std::memory_order_relaxed);
            effect.deactivate();
            return vvst3::kResultOk;
        }
        if (!setupDone) return vvst3::kNotInitialized;
        if (effect.isActive()) return vvst3::kResultOk;
        if (effect.activate(sampleRate) && !latencyRestartAsked) requestRestart(vvst3::restart::kLatencyChanged);
        latencyRestartAsked = false;
        return vvst3::kResultOk;
    });
}

// Stereo only: anything else keeps stereo and says no, so the host asks
// what the buses are.
vvst3::tresult VVST3_CALL Vst3Effect::setBusArrangements(vvst3::SpeakerArrangement* inputs, int32_t numIns,
                                                         vvst3::SpeakerArrangement* outputs, int32_t numOuts) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (effect.isActive()) return vvst3::kResultFalse;
        if (numIns != 1 || numOuts != 1 || inputs == nullptr || outputs == nullptr) return vvst3::kResultFalse;
        const bool stereo = inputs[0] == vvst3::speaker_arrangement::kStereo &&
                            outputs[0] == vvst3::speaker_arrangement::kStereo;
        return stereo ? vvst3::kResultTrue : vvst3::kResultFalse;
    });
}

vvst3::tresult VVST3_CALL Vst3Effect::getBusArrangement(vvst3::BusDirection dir, int32_t index,
                                                        vvst3::SpeakerArrangement& arr) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (isNullReference(arr) || !isAudioBus(vvst3::kAudio, dir, index)) return vvst3::kInvalidArgument;
        arr = vvst3::speaker_arrangement::kStereo;
        return vvst3::kResultOk;
    });
}

vvst3::tresult VVST3_CALL Vst3Effect::canProcessSampleSize(int32_t symbolicSampleSize) {
    return symbolicSampleSize == vvst3::kSample32 ? vvst3::kResultTrue : vvst3::kResultFalse;
}

uint32_t VVST3_CALL Vst3Effect::getLatencySamples() {
    return guardedHostEntry(0u, [&] { return effect.latencyFrames(); });
}

// The path works on blocks of any length, so the maximum is only checked
// for sense; the rate must be one a path can run at.
vvst3::tresult VVST3_CALL Vst3Effect::setupProcessing(vvst3::ProcessSetup& setup) {
    return guardedHostEntry(vvst3::kInternalError, [&] {
        if (!initialised) return vvst3::kNotInitialized;
        if (isNullReference(setup)) return vvst3::kInvalidArgument;
        if (effect.isActive()) return vvst3::kResultFalse;
        if (setup.symbolicSampleSize != vvst3::kSample32) return vvst3::kResultFalse;
        if (!(setup.sampleRate > 0.0 && std::isfinite(setup.sampleRate)) || setup.maxSamplesPerBlock <= 0)
            return vvst3::kInvalidArgument;
        sampleRate = setup.sampleRate;
        setupDone = true;
        return vvst3::kResultOk;
    });
}

vvst3::tresult VVST3_CALL Vst3Effect::setProcessing(vvst3::TBool state) {
    if (state != 0 && !effect.isActive()) return vvst3::kNotInitialized;
    processing.store(state != 0, std::memory_order_relaxed);
    return vvst3::kResultOk;
}

// After the input falls silent the output still carries the path's delay and
// the ringing of its filters, which is inaudible within about 50 ms.
uint32_t VVST3_CALL Vst3Effect::getTailSamples() {
    return guardedHostEntry(0u, [&] { return effect.latencyFrames() + static_cast<uint32_t>(sampleRate * 0.05); });
}
