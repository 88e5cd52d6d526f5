// The seam between a format and the editor: the format asks for an editor
// here and never names the editor's class, so a format without a window
// links no editor at all.
#pragma once

#include <memory>

#include "editor.h"
#include "parameter_link.h"

// link reaches the plug-in's values and must outlive the editor.
// moduleHandle is the loaded library's handle on Windows, which the toolkit
// loads its bitmaps from and names its window class after; null elsewhere.
// Null when the editor cannot be made.
std::unique_ptr<Editor> createEditor(ParameterLink& link, void* moduleHandle) noexcept;
