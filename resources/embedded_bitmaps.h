// The editor's bitmaps (ids 1001-1012), linked into the plug-in as the bytes
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

// The same bitmap drawn for a larger scale step, as a PNG file.
struct EmbeddedPng {
    int id;
    int percent;
    const unsigned char* data;
    std::size_t size;
};

// The PNG drawn for this id and step, or null: steps derived from a larger
// one (see scale_steps.h) have none.
const EmbeddedPng* findEmbeddedPng(int id, int percent);
