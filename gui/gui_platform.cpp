#include "gui_platform.h"

namespace {
// Only the user-interface thread installs or reads this.
GuiPlatform* installedPlatform = nullptr;
}  // namespace

GuiPlatform& guiPlatform() {
    return installedPlatform ? *installedPlatform : defaultGuiPlatform();
}

GuiPlatform* setGuiPlatform(GuiPlatform* platform) {
    GuiPlatform* previous = installedPlatform;
    installedPlatform = platform;
    return previous;
}
