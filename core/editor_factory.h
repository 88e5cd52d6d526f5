// The seam between a format and the editor: the format asks for an editor
// here and never names the editor's class, so a format without a window
// links no editor at all.
#pragma once

#include <memory>

#include "editor.h"
#include "parameter_link.h"

// Whether the editor shows the strip of Quality, Mix and Bypass below the
// panel: only formats that offer those values (see extended_parameters.h)
// ask for it, so the VST 2 editor stays the bare panel.
enum class EditorFooter { None, QualityMixBypass };

// link reaches the plug-in's values and must outlive the editor.
// moduleHandle is the loaded library's handle on Windows, which the toolkit
// loads its bitmaps from and names its window class after; null elsewhere.
// Null when the editor cannot be made.
std::unique_ptr<Editor> createEditor(ParameterLink& link, void* moduleHandle,
                                     EditorFooter footer = EditorFooter::None) noexcept;
