// Writes a captured window image as PNG (through cairo).
#pragma once

#include <string>

#include "host/editor_window.h"

// Leaves either the complete file or nothing; throws HostError.
void writePng(const WindowImage& image, const std::string& path);
