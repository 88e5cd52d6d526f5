#include "png_resource.h"

#include <wincodec.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "gui/gui_area_average.h"
#include "gui/gui_scale.h"

namespace {

template <typename T>
struct ComRef {
    T* p = nullptr;
    ~ComRef() {
        if (p) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

struct Pixels {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> rgb;  // 0x00RRGGBB, rows from the top
};

// The resource's bytes, or null with size 0.
const BYTE* resourceBytes(HINSTANCE module, int32_t id, int32_t percent, DWORD& size) {
    char name[32];
    std::snprintf(name, sizeof name, "PNG_%d_%d", static_cast<int>(id), static_cast<int>(percent));
    size = 0;
    HRSRC found = FindResourceA(module, name, MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    if (!loaded) return nullptr;
    size = SizeofResource(module, found);
    return static_cast<const BYTE*>(LockResource(loaded));
}

Pixels decode(const BYTE* data, DWORD size) {
    Pixels out;
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.out()))) ||
        FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, decoder.out())) ||
        FAILED(decoder->GetFrame(0, frame.out())) || FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0)
        return out;
    // Blue, green, red, unused in memory: 0x00RRGGBB as a little-endian word.
    out.rgb.resize(static_cast<size_t>(width) * height);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(out.rgb.size() * 4),
                                     reinterpret_cast<BYTE*>(out.rgb.data())))) {
        out.rgb.clear();
        return out;
    }
    for (uint32_t& pixel : out.rgb) pixel &= 0x00FFFFFFu;
    out.width = static_cast<int32_t>(width);
    out.height = static_cast<int32_t>(height);
    return out;
}

std::unique_ptr<GdiBitmapImage> toDibSection(const Pixels& pixels) {
    if (pixels.rgb.empty()) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(bits, pixels.rgb.data(), pixels.rgb.size() * sizeof(uint32_t));
    return GdiBitmapImage::adopt(bitmap);
}

}  // namespace

std::unique_ptr<GdiBitmapImage> loadScaledArtwork(HINSTANCE module, int32_t resourceId, int32_t scalePercent) {
    for (int32_t step : kGuiScaleSteps) {
        if (step < scalePercent) continue;
        DWORD size = 0;
        const BYTE* bytes = resourceBytes(module, resourceId, step, size);
        if (!bytes) continue;
        Pixels drawn = decode(bytes, size);
        if (step == scalePercent || drawn.rgb.empty()) return toDibSection(drawn);
        Pixels reduced;
        reduced.width = reducedSize(drawn.width, step, scalePercent);
        reduced.height = reducedSize(drawn.height, step, scalePercent);
        reduced.rgb = areaAverage(drawn.rgb, drawn.width, drawn.height, reduced.width, reduced.height);
        return toDibSection(reduced);
    }
    return nullptr;
}
