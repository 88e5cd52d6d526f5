// The editor's bitmaps (ids 1001-1011), linked into the plug-in as the bytes
// of their .bmp files so the Linux build needs no files beside the library.
#pragma once

#include <cstddef>

struct EmbeddedBitmap {
    int id;
    const unsigned char* data;  // the complete .bmp file
    std::size_t size;
};

// The bitmap with this resource id, or null when there is none.
const EmbeddedBitmap* findEmbeddedBitmap(int id);
