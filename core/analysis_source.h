// Where an editor's analyser gets the sound from: the plug-in's input and
// output, one mono frame of each at a time, handed over by the audio side.
// CLAP and VST 3 read the effect's own ring (analyser_feed.h); an LV2 UI,
// which may live in another process, reads what the plug-in sent it.
#pragma once

#include <cstdint>

struct AnalysisFrame {
    float input;   // the plug-in's input, left and right averaged
    float output;  // its output, the same way
};

class AnalysisSource {
public:
    virtual ~AnalysisSource() = default;

    // UI thread: the editor shows the analyser (true) or no longer does
    // (false). The audio side does no analyser work at all while no one
    // listens.
    virtual void setListening(bool on) = 0;
    // UI thread: up to `capacity` frames that arrived since the last call,
    // oldest first; returns how many.
    virtual uint32_t read(AnalysisFrame* frames, uint32_t capacity) = 0;
    // The rate of those frames; 0 before any arrived.
    virtual double sampleRate() const = 0;
};
