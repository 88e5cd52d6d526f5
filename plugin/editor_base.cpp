#include "editor_base.h"

#include "plugin_base.h"

EditorBase::EditorBase(PluginBase* owner) : effect(owner) {
    if (effect) effect->registerEditor(this);
}

int32_t EditorBase::getRect(ERect** rect) {
    if (rect) *rect = nullptr;
    return 0;
}

int32_t EditorBase::open(void* parent) {
    parentWindow = parent;
    return 0;
}

void EditorBase::idle() {
    if (updateRequested) {
        updateRequested = false;
        update();
    }
}
