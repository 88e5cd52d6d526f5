#include "lv2/lv2_analyser_sender.h"

#include <lv2/atom/util.h>

#include <algorithm>

void Lv2AnalyserSender::init(const LV2_URID_Map* map) {
    if (uris.map(map)) lv2_atom_forge_init(&forge, const_cast<LV2_URID_Map*>(map));
}

void Lv2AnalyserSender::readRequests(AnalyserFeed& feed) {
    if (requests == nullptr || !uris.mapped()) return;
    LV2_ATOM_SEQUENCE_FOREACH(requests, event) {
        bool on = false;
        if (lv2analyser::readListen(uris, &event->body, on)) listening = on;
    }
    if (listening != feed.isListening()) feed.setListening(listening);
}

void Lv2AnalyserSender::send(AnalyserFeed& feed) {
    if (samples == nullptr) return;
    if (!uris.mapped()) {
        // An empty sequence of no known type: nothing to deliver.
        samples->atom.size = sizeof(LV2_Atom_Sequence_Body);
        return;
    }
    lv2_atom_forge_set_buffer(&forge, reinterpret_cast<uint8_t*>(samples), samples->atom.size);
    LV2_Atom_Forge_Frame sequence;
    if (!lv2_atom_forge_sequence_head(&forge, &sequence, 0)) return;
    const uint32_t count = std::min(feed.readableFrames(), lv2analyser::framesThatFit(forge));
    if (listening && count > 0) writeFrames(feed, count);
    lv2_atom_forge_pop(&forge, &sequence);
}

void Lv2AnalyserSender::writeFrames(AnalyserFeed& feed, uint32_t count) {
    LV2_Atom_Forge_Frame object, vector;
    lv2_atom_forge_frame_time(&forge, 0);
    lv2_atom_forge_object(&forge, &object, 0, uris.frames);
    lv2_atom_forge_key(&forge, uris.rate);
    lv2_atom_forge_float(&forge, static_cast<float>(feed.sampleRate()));
    lv2_atom_forge_key(&forge, uris.samples);
    lv2_atom_forge_vector_head(&forge, &vector, sizeof(float), uris.floatType);
    AnalysisFrame chunk[256];
    while (count > 0) {
        const uint32_t taken = feed.read(chunk, std::min<uint32_t>(count, 256));
        if (taken == 0) break;
        lv2_atom_forge_raw(&forge, chunk, taken * static_cast<uint32_t>(sizeof(AnalysisFrame)));
        count -= taken;
    }
    lv2_atom_forge_pop(&forge, &vector);
    lv2_atom_forge_pop(&forge, &object);
}
