// Writes a captured window image as PNG: png_writer.cpp through cairo,
// png_writer_wic.cpp through the Windows Imaging Component.
#pragma once

#include <string>

#include "host/editor_window.h"

// Leaves either the complete file or nothing; throws HostError.
void writePng(const WindowImage& image, const std::string& path);
