// The LV2 UI's side of the analyser: an AnalysisSource that asks the
// plug-in for its samples through the host (an atom written to the
// plug-in's request port) and keeps what arrives on the samples port until
// the editor reads it. Without the host's URID map it asks nothing and
// stays silent: the analyser stands still, the rest of the editor works.
#pragma once

#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include "core/analysis_source.h"
#include "core/spsc_ring.h"
#include "lv2/lv2_analyser_messages.h"

class Lv2AnalyserReceiver final : public AnalysisSource {
public:
    Lv2AnalyserReceiver(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2_URID_Map* map);

    // A port event from the host; false when it was none of the analyser's.
    bool portEvent(uint32_t port, uint32_t format, const void* buffer);

    void setListening(bool on) override;
    uint32_t read(AnalysisFrame* frames, uint32_t capacity) override;
    double sampleRate() const override { return rate; }

private:
    LV2UI_Write_Function write;
    LV2UI_Controller controller;
    lv2analyser::Uris uris;
    // Filled and emptied on the UI thread; frames beyond its room are dropped.
    SpscRing<AnalysisFrame, 16384> waiting;
    double rate = 0.0;
};
