// The plug-in binary's only export: the descriptor LV2 hosts look up.
#include <lv2/core/lv2.h>

#include "lv2/lv2_effect_instance.h"
#include "core/host_entry_guard.h"

namespace {

Lv2EffectInstance* instanceOf(LV2_Handle handle) { return static_cast<Lv2EffectInstance*>(handle); }

// The host calls each of these directly: each catches everything (see
// host_entry_guard.h) and then answers null or does nothing.
LV2_Handle instantiate(const LV2_Descriptor*, double sampleRate, const char*, const LV2_Feature* const* features) {
    return guardedHostEntry<LV2_Handle>(nullptr,
                                        [&] { return Lv2EffectInstance::create(sampleRate, features).release(); });
}

void connectPort(LV2_Handle handle, uint32_t port, void* data) {
    guardedHostEntry([&] { instanceOf(handle)->connectPort(port, data); });
}

void activate(LV2_Handle handle) {
    guardedHostEntry([&] { instanceOf(handle)->activate(); });
}

void run(LV2_Handle handle, uint32_t frames) {
    guardedHostEntry([&] { instanceOf(handle)->run(frames); });
}

void deactivate(LV2_Handle) {}

void cleanup(LV2_Handle handle) {
    guardedHostEntry([&] { delete instanceOf(handle); });
}

const void* extensionData(const char*) { return nullptr; }

const LV2_Descriptor kDescriptor = {lv2id::kPluginUri, instantiate, connectPort, activate,
                                    run, deactivate, cleanup, extensionData};

}  // namespace

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
