#include "plugin/editor_factory.h"

#include <new>

#include "plugin/editor_base.h"
#include "plugin/plugin_base.h"

EditorBase* createEditor(PluginBaseExt* effect) noexcept {
    return new (std::nothrow) EditorBase(effect);
}
