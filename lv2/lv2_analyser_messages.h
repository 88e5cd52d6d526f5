// The atom messages between the LV2 plug-in and its UI for the analyser
// (the UI may live in another process, so the samples travel as atoms):
// the UI asks with a Listen object whose `on` is true or false, and while
// it listens the plug-in sends Frames objects with the rate and the
// input's and output's samples, interleaved, as a vector of floats.
#pragma once

#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/urid/urid.h>

#include <cstdint>

#include "core/analysis_source.h"

namespace lv2analyser {

inline constexpr char kListenUri[] = "urn:quorvane:velmora#AnalyserListen";
inline constexpr char kFramesUri[] = "urn:quorvane:velmora#AnalyserFrames";
inline constexpr char kOnUri[] = "urn:quorvane:velmora#on";
inline constexpr char kRateUri[] = "urn:quorvane:velmora#rate";
inline constexpr char kSamplesUri[] = "urn:quorvane:velmora#samples";

// What the plug-in's output port must hold at least, declared in the Turtle.
inline constexpr uint32_t kMinimumBufferSize = 65536;

struct Uris {
    LV2_URID eventTransfer = 0, object = 0, floatType = 0, boolType = 0, vector = 0;
    LV2_URID listen = 0, frames = 0, on = 0, rate = 0, samples = 0;

    // False (and nothing mapped) without the host's map.
    bool map(const LV2_URID_Map* map);
    bool mapped() const { return listen != 0; }
};

// The `on` of a Listen object, or false when the atom is none.
bool readListen(const Uris& uris, const LV2_Atom* atom, bool& on);

// Writes a Listen object into `buffer` (at least 64 bytes); its size.
uint32_t writeListen(const Uris& uris, bool on, void* buffer, uint32_t capacity);

// The samples of a Frames object and their rate; count is in frames.
// False when the atom is no Frames object.
bool readFrames(const Uris& uris, const LV2_Atom* atom, const AnalysisFrame*& frames, uint32_t& count, float& rate);

// How many frames one Frames event at the forge's position may carry.
uint32_t framesThatFit(const LV2_Atom_Forge& forge);

}  // namespace lv2analyser
