// The seam between a format and the editor: the format asks for an editor
// here and never names the editor's class, so a format without a window
// links no editor at all.
#pragma once

#include <memory>

#include "analysis_source.h"
#include "editor.h"
#include "parameter_link.h"

// Whether the editor shows the strip of Quality, Mix and Bypass below the
// panel: only formats that offer those values (see extended_parameters.h)
// ask for it, so the VST 2 editor stays the bare panel.
enum class EditorFooter { None, QualityMixBypass };

// What a format hands its editor.
struct EditorServices {
    // Reaches the plug-in's values; must outlive the editor.
    ParameterLink& link;
    // The loaded library's handle on Windows, which the toolkit loads its
    // bitmaps from and names its window class after; null elsewhere.
    void* moduleHandle = nullptr;
    EditorFooter footer = EditorFooter::None;
    // The sound the analyser strip shows, above the footer; null for no
    // strip. Must outlive the editor.
    AnalysisSource* analysis = nullptr;
};

// Null when the editor cannot be made.
std::unique_ptr<Editor> createEditor(const EditorServices& services) noexcept;
