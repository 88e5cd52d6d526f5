// The seam between the effect and its editor: the effect asks for its editor
// here and never names the editor's class. Returns null when it cannot be made.
#pragma once

class EditorBase;
class PluginBaseExt;

EditorBase* createEditor(PluginBaseExt* effect) noexcept;
