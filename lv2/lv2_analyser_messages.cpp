#include "lv2/lv2_analyser_messages.h"

#include <lv2/atom/util.h>

#include <cstring>

namespace lv2analyser {

bool Uris::map(const LV2_URID_Map* host) {
    if (host == nullptr || host->map == nullptr) return false;
    const auto id = [&](const char* uri) { return host->map(host->handle, uri); };
    eventTransfer = id(LV2_ATOM__eventTransfer);
    object = id(LV2_ATOM__Object);
    floatType = id(LV2_ATOM__Float);
    boolType = id(LV2_ATOM__Bool);
    vector = id(LV2_ATOM__Vector);
    frames = id(kFramesUri);
    on = id(kOnUri);
    rate = id(kRateUri);
    samples = id(kSamplesUri);
    listen = id(kListenUri);
    return true;
}

namespace {
const LV2_Atom_Object* objectOfType(const Uris& uris, const LV2_Atom* atom, LV2_URID type) {
    if (!uris.mapped() || atom == nullptr || atom->type != uris.object || atom->size < sizeof(LV2_Atom_Object_Body))
        return nullptr;
    const auto* object = reinterpret_cast<const LV2_Atom_Object*>(atom);
    return object->body.otype == type ? object : nullptr;
}
}  // namespace

bool readListen(const Uris& uris, const LV2_Atom* atom, bool& on) {
    const LV2_Atom_Object* object = objectOfType(uris, atom, uris.listen);
    if (object == nullptr) return false;
    const LV2_Atom* value = nullptr;
    lv2_atom_object_get(object, uris.on, &value, 0);
    if (value == nullptr || value->type != uris.boolType || value->size != sizeof(int32_t)) return false;
    on = reinterpret_cast<const LV2_Atom_Bool*>(value)->body != 0;
    return true;
}

uint32_t writeListen(const Uris& uris, bool on, void* buffer, uint32_t capacity) {
    LV2_Atom_Forge forge{};
    forge.Bool = uris.boolType;
    forge.Object = uris.object;
    lv2_atom_forge_set_buffer(&forge, static_cast<uint8_t*>(buffer), capacity);
    LV2_Atom_Forge_Frame frame;
    if (!lv2_atom_forge_object(&forge, &frame, 0, uris.listen)) return 0;
    lv2_atom_forge_key(&forge, uris.on);
    lv2_atom_forge_bool(&forge, on);
    lv2_atom_forge_pop(&forge, &frame);
    return static_cast<uint32_t>(sizeof(LV2_Atom)) + static_cast<LV2_Atom*>(buffer)->size;
}

bool readFrames(const Uris& uris, const LV2_Atom* atom, const AnalysisFrame*& frames, uint32_t& count, float& rate) {
    const LV2_Atom_Object* object = objectOfType(uris, atom, uris.frames);
    if (object == nullptr) return false;
    const LV2_Atom* rateAtom = nullptr;
    const LV2_Atom* samples = nullptr;
    lv2_atom_object_get(object, uris.rate, &rateAtom, uris.samples, &samples, 0);
    if (rateAtom == nullptr || rateAtom->type != uris.floatType || samples == nullptr || samples->type != uris.vector ||
        samples->size < sizeof(LV2_Atom_Vector_Body))
        return false;
    const auto* vector = reinterpret_cast<const LV2_Atom_Vector*>(samples);
    if (vector->body.child_type != uris.floatType || vector->body.child_size != sizeof(float)) return false;
    rate = reinterpret_cast<const LV2_Atom_Float*>(rateAtom)->body;
    count = (samples->size - static_cast<uint32_t>(sizeof(LV2_Atom_Vector_Body))) / sizeof(AnalysisFrame);
    frames = reinterpret_cast<const AnalysisFrame*>(&vector->body + 1);
    return true;
}

uint32_t framesThatFit(const LV2_Atom_Forge& forge) {
    // The event's time and atom, the object's body, the rate and the
    // vector's headers, generously.
    constexpr uint32_t kHeaders = 128;
    const uint32_t room = forge.size > forge.offset ? forge.size - forge.offset : 0;
    return room > kHeaders ? (room - kHeaders) / sizeof(AnalysisFrame) : 0;
}

}  // namespace lv2analyser
