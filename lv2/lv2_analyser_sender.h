// The LV2 plug-in's side of the analyser: it reads the UI's requests from
// its atom input and, only while the UI listens, sends the effect's input
// and output to it through its atom output. Without the host's URID map, or
// with either port left unconnected, it does nothing.
#pragma once

#include <lv2/atom/atom.h>
#include <lv2/atom/forge.h>
#include <lv2/urid/urid.h>

#include "core/analyser_feed.h"
#include "lv2/lv2_analyser_messages.h"

class Lv2AnalyserSender {
public:
    // At instantiation (not real-time): map may be null.
    void init(const LV2_URID_Map* map);
    void connectRequests(void* data) { requests = static_cast<const LV2_Atom_Sequence*>(data); }
    void connectSamples(void* data) { samples = static_cast<LV2_Atom_Sequence*>(data); }

    // Audio thread, before the block runs: the UI's latest request reaches
    // the effect's feed.
    void readRequests(AnalyserFeed& feed);
    // Audio thread, after the block ran: the frames waiting in the feed, as
    // many as the port holds (the rest wait for the next run); an empty
    // sequence when there are none.
    void send(AnalyserFeed& feed);
    bool isListening() const { return listening; }

private:
    void writeFrames(AnalyserFeed& feed, uint32_t count);

    lv2analyser::Uris uris;
    LV2_Atom_Forge forge{};
    const LV2_Atom_Sequence* requests = nullptr;
    LV2_Atom_Sequence* samples = nullptr;
    bool listening = false;
};
