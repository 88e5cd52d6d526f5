#include "plugin/editor_factory.h"

#include <new>

#include "distortion_editor.h"

EditorBase* createEditor(PluginBaseExt* effect) noexcept { return new (std::nothrow) DistortionEditor(effect); }
