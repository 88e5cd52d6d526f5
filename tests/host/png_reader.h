// Reads the PNG images the hosts write, for pixel checks in tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

struct Png {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0xRRGGBB
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)] & 0xFFFFFF; }
};

// An empty image when the file is not a readable PNG.
Png readPng(const std::filesystem::path& path);
