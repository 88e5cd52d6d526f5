// The UI binary's only export: the descriptor of the X11 UI.
#include <lv2/ui/ui.h>

#include <cstring>

#include "lv2/lv2_ui_instance.h"
#include "core/host_entry_guard.h"

namespace {

Lv2UiInstance* instanceOf(LV2UI_Handle handle) { return static_cast<Lv2UiInstance*>(handle); }

// The host calls each of these directly: each catches everything (see
// host_entry_guard.h) and then answers null or 0 or does nothing.
LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
    return guardedHostEntry<LV2UI_Handle>(nullptr, [&]() -> LV2UI_Handle {
        if (!pluginUri || std::strcmp(pluginUri, lv2id::kPluginUri) != 0 || !widget) return nullptr;
        Lv2UiInstance* instance = Lv2UiInstance::create(write, controller, features).release();
        if (instance) *widget = instance->widget();
        return instance;
    });
}

void cleanup(LV2UI_Handle handle) {
    guardedHostEntry([&] { delete instanceOf(handle); });
}

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer) {
    guardedHostEntry([&] { instanceOf(handle)->portEvent(port, bufferSize, format, buffer); });
}

int idle(LV2UI_Handle handle) {
    return guardedHostEntry(0, [&] { return instanceOf(handle)->idle(); });
}

const LV2UI_Idle_Interface kIdleInterface = {idle};

const void* extensionData(const char* uri) {
    return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &kIdleInterface : nullptr;
}

const LV2UI_Descriptor kDescriptor = {lv2id::kUiUri, instantiate, cleanup, portEvent, extensionData};

}  // namespace

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
