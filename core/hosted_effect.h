// The effect as the formats whose interface is ours (CLAP and VST 3) hold
// it: one EffectCore for the whole life of the plug-in instance, every value
// a host can set (the 19, Quality, Mix and Bypass) addressed by its host id
// (core/host_parameters.h), and the rules both formats share: each value
// clamped into its range, what the plug-in changed beyond what it was asked
// reported back, and a Quality change that moves the latency held until
// the next activation.
//
// An activation sets the rate and clears the audio state in place; it
// never builds a new core, so no value a host set is lost across a restart.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "core/effect_core.h"
#include "core/host_parameters.h"

class ParameterListener;

// What an adapter owes its host after a value reached the plug-in.
struct HostValueReports {
    struct Report {
        HostParameterId id;
        double value;
    };
    // Values the host must hear of, in this order: a crossover pushed along
    // by the other, then the value itself when it was moved into range (for
    // an editor's edit, always).
    std::array<Report, 2> reports{};
    uint32_t count = 0;
    // A Quality change waits for a restart that the host must now be asked
    // for (true once per wait).
    bool restartNeeded = false;

    void add(HostParameterId id, double value) { reports[count++] = {id, value}; }
};

class HostedEffect {
public:
    HostedEffect() = default;
    HostedEffect(const HostedEffect&) = delete;
    HostedEffect& operator=(const HostedEffect&) = delete;

    // Set before other threads use the object: told of every value stored,
    // the 19 and the three beyond them (at their link indices).
    void setListener(ParameterListener* listener);

    // Main thread, while inactive: a fresh audio path at this rate with every
    // value kept, and the Quality asked for since the last activation in
    // effect. True when the latency differs from the one the previous
    // activation had, so that the host must hear of it.
    bool activate(double sampleRate);
    void deactivate() { active.store(false, std::memory_order_relaxed); }
    bool isActive() const { return active.load(std::memory_order_relaxed); }

    // A value from the host (audio thread while active, else main thread).
    HostValueReports applyHostValue(HostParameterId id, double value);
    // A value from the editor (UI thread); its reports are the edit the host
    // must record, and a crossover it pushed along.
    HostValueReports applyEditorValue(HostParameterId id, double value);
    // Every value at once, from a state or a preset, in id order (a saved
    // pair of crossovers is in order, so the push leaves both as saved). NaN
    // leaves a value as it is. True when a Quality change waits for a restart
    // the host must be asked for.
    bool loadValues(const std::array<float, kHostParameterCount>& values);

    // False for an id that is no parameter.
    bool value(HostParameterId id, double& value) const;
    std::array<float, kHostParameterCount> allValues() const;

    // The delay of the Quality in effect: fixed while active, as hosts
    // expect (the setting asked for when inactive).
    uint32_t latencyFrames() const;

    // Audio thread: the state of a fresh activation at the same rate and
    // values, built in place (nothing allocated).
    void clearAudioState() { effect.clearAudioState(); }
    // Audio thread: stereo in, stereo out (they may be the same buffers).
    void process(float* const* inputs, float* const* outputs, int32_t frames) {
        effect.processReplacing(inputs, outputs, frames);
    }

    EffectCore& core() { return effect; }

private:
    // Stores a valid value; true when a restart must be asked for.
    bool store(HostParameterId id, double valid);
    bool setQuality(Oversampling asked);
    void tellListener(HostParameterId id, double valid);

    EffectCore effect;
    ParameterListener* listener = nullptr;
    std::atomic<bool> active{false};
    // Quality as last set (any thread), the setting the path runs and the
    // latency reports, and whether a restart has been asked for so that the
    // two meet.
    std::atomic<Oversampling> qualityAsked{Oversampling::Normal};
    std::atomic<Oversampling> qualityInEffect{Oversampling::Normal};
    std::atomic<bool> restartAsked{false};
    uint32_t latencyOfLastActivation = 0;
};
