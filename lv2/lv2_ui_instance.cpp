#include "lv2/lv2_ui_instance.h"

#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <new>

#include "gui/gui_frame.h"
#include "gui/gui_platform.h"

namespace {

const void* featureData(const LV2_Feature* const* features, const char* uri) {
    for (; features && *features; ++features)
        if (std::strcmp((*features)->URI, uri) == 0) return (*features)->data;
    return nullptr;
}

// The host's ui:scaleFactor option (a float), or 0 when it gives none.
double hostScaleFactor(const LV2_Feature* const* features) {
    const auto* map = static_cast<const LV2_URID_Map*>(featureData(features, LV2_URID__map));
    const auto* option = static_cast<const LV2_Options_Option*>(featureData(features, LV2_OPTIONS__options));
    if (!map || !map->map || !option) return 0.0;
    const LV2_URID scaleKey = map->map(map->handle, LV2_UI__scaleFactor);
    const LV2_URID floatType = map->map(map->handle, LV2_ATOM__Float);
    for (; option->key != 0 || option->value != nullptr; ++option) {
        if (option->key == scaleKey && option->type == floatType && option->size == sizeof(float) && option->value) {
            float factor;
            std::memcpy(&factor, option->value, sizeof factor);
            return factor;
        }
    }
    return 0.0;
}

}  // namespace

std::unique_ptr<Lv2UiInstance> Lv2UiInstance::create(LV2UI_Write_Function write, LV2UI_Controller controller,
                                                     const LV2_Feature* const* features) {
    void* parent = const_cast<void*>(featureData(features, LV2_UI__parent));
    if (!parent) return nullptr;
    const auto* touch = static_cast<const LV2UI_Touch*>(featureData(features, LV2_UI__touch));
    const auto* map = static_cast<const LV2_URID_Map*>(featureData(features, LV2_URID__map));
    std::unique_ptr<Lv2UiInstance> instance(new (std::nothrow) Lv2UiInstance(write, controller, touch, map));
    if (!instance) return nullptr;
    instance->editor.setScale(hostScaleFactor(features));
    instance->editor.open(parent);
    if (!instance->widget()) return nullptr;
    // Hosts that embed through suil take the window's size at instantiate;
    // ui:resize tells the others (and any that sized the parent already).
    if (const auto* resize = static_cast<const LV2UI_Resize*>(featureData(features, LV2_UI__resize)))
        if (resize->ui_resize) {
            const EditorSize size = instance->editor.size();
            resize->ui_resize(resize->handle, size.width, size.height);
        }
    return instance;
}

Lv2UiInstance::Lv2UiInstance(LV2UI_Write_Function write, LV2UI_Controller controller, const LV2UI_Touch* touch,
                             const LV2_URID_Map* map)
    : link(write, controller, touch),
      analyser(write, controller, map),
      editor(EditorServices{link, nullptr, EditorFooter::QualityMixBypass, &analyser}) {
    link.setEditor(&editor);
}

Lv2UiInstance::~Lv2UiInstance() {
    link.setEditor(nullptr);
    editor.close();
}

LV2UI_Widget Lv2UiInstance::widget() const {
    const GuiFrame* frame = editor.getFrame();
    const GuiWindow* window = frame ? frame->getWindow() : nullptr;
    return window ? window->nativeHandle() : nullptr;
}

void Lv2UiInstance::portEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer) {
    if (analyser.portEvent(port, format, buffer)) return;
    // Only plain float values; the link keeps the ports the editor shows.
    if (format != 0 || bufferSize != sizeof(float) || !buffer) return;
    float value;
    std::memcpy(&value, buffer, sizeof value);
    link.portChanged(port, value);
}

int Lv2UiInstance::idle() {
    editor.idle();
    return widget() ? 0 : 1;
}
