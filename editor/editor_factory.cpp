#include "core/editor_factory.h"

#include <new>

#include "distortion_editor.h"
#include "gui/gui_platform.h"

std::unique_ptr<Editor> createEditor(const EditorServices& services) noexcept {
    // The real platform's, whatever platform a test may have installed.
    defaultGuiPlatform().setModuleHandle(services.moduleHandle);
    return std::unique_ptr<Editor>(new (std::nothrow) DistortionEditor(services));
}
