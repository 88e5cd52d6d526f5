// The LV2 plug-in binary has no window of its own (the UI is a separate
// binary talking through ports), so its effect gets the plain editor base:
// parameter changes only raise its update flag.
#include <new>

#include "plugin/editor_base.h"
#include "plugin/editor_factory.h"
#include "plugin/plugin_base.h"

EditorBase* createEditor(PluginBaseExt* effect) noexcept { return new (std::nothrow) EditorBase(effect); }
