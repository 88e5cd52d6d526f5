#include "resources/artwork/png_writer.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace artwork {

// The strongest deflate level and libpng's per-row filter choice: the
// embedded artwork is written once and decoded often, so size wins.
bool writePng(const std::string& path, const Image& image) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "Cannot write %s\n", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info && setjmp(png_jmpbuf(png)) == 0;
    if (ok) {
        png_init_io(png, file);
        png_set_compression_level(png, 9);
        png_set_filter(png, 0, PNG_ALL_FILTERS);
        png_set_IHDR(png, info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<png_byte> row(static_cast<std::size_t>(image.width) * 3);
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const Rgb& p = image.at(x, y);
                row[static_cast<std::size_t>(x) * 3] = p.r;
                row[static_cast<std::size_t>(x) * 3 + 1] = p.g;
                row[static_cast<std::size_t>(x) * 3 + 2] = p.b;
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    ok &= std::fclose(file) == 0;
    if (!ok) std::fprintf(stderr, "Cannot write %s\n", path.c_str());
    return ok;
}

}  // namespace artwork
