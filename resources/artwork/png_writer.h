// Writes an image as an RGB PNG file, the compressed form the larger scale
// steps are embedded in.
#pragma once

#include "resources/artwork/image.h"

#include <string>

namespace artwork {

// Returns false (with a message on stderr) on failure.
bool writePng(const std::string& path, const Image& image);

}  // namespace artwork
