#include "lv2/lv2_analyser_receiver.h"

#include <algorithm>

#include "lv2/lv2_identity.h"

Lv2AnalyserReceiver::Lv2AnalyserReceiver(LV2UI_Write_Function writeFunction, LV2UI_Controller hostController,
                                         const LV2_URID_Map* map)
    : write(writeFunction), controller(hostController) {
    uris.map(map);
}

void Lv2AnalyserReceiver::setListening(bool on) {
    if (!uris.mapped() || write == nullptr) return;
    alignas(8) uint8_t message[128];
    const uint32_t size = lv2analyser::writeListen(uris, on, message, sizeof message);
    if (size > 0) write(controller, lv2id::kAnalyserRequests, size, uris.eventTransfer, message);
}

bool Lv2AnalyserReceiver::portEvent(uint32_t port, uint32_t format, const void* buffer) {
    if (port != lv2id::kAnalyserSamples) return false;
    const AnalysisFrame* frames = nullptr;
    uint32_t count = 0;
    float frameRate = 0.0f;
    if (!uris.mapped() || format != uris.eventTransfer || buffer == nullptr ||
        !lv2analyser::readFrames(uris, static_cast<const LV2_Atom*>(buffer), frames, count, frameRate))
        return true;
    rate = frameRate;
    count = std::min(count, waiting.writable());
    for (uint32_t i = 0; i < count; ++i) waiting.slotToWrite(i) = frames[i];
    waiting.publish(count);
    return true;
}

uint32_t Lv2AnalyserReceiver::read(AnalysisFrame* frames, uint32_t capacity) {
    const uint32_t count = std::min(capacity, waiting.readable());
    for (uint32_t i = 0; i < count; ++i) frames[i] = waiting.slotToRead(i);
    waiting.release(count);
    return count;
}
