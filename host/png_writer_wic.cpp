// PNG writing through the Windows Imaging Component, for the Windows build.
#include <windows.h>
#include <wincodec.h>

#include <cstdio>
#include <filesystem>

#include "host/errors.h"
#include "host/png_writer.h"

namespace {

// Releases a COM interface when it goes out of scope.
template <typename T>
struct ComRef {
    T* p = nullptr;
    ~ComRef() {
        if (p != nullptr) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

// Balances a successful COM start-up on this thread.
struct ComScope {
    bool started = false;
    ComScope() { started = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
    ~ComScope() {
        if (started) CoUninitialize();
    }
};

std::wstring widePath(const std::string& path) {
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

// Encodes the image into the file; false when any step fails.
bool encode(const WindowImage& image, const std::wstring& file) {
    ComRef<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.out())))) {
        return false;
    }
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    if (FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromFilename(file.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) ||
        FAILED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.out(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height)))) {
        return false;
    }
    // 0xAARRGGBB in memory is blue, green, red, alpha.
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA)) return false;
    const UINT stride = static_cast<UINT>(image.width) * 4u;
    const UINT bytes = stride * static_cast<UINT>(image.height);
    auto* pixels = reinterpret_cast<BYTE*>(const_cast<uint32_t*>(image.pixels.data()));
    return SUCCEEDED(frame->WritePixels(static_cast<UINT>(image.height), stride, bytes, pixels)) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

}  // namespace

void writePng(const WindowImage& image, const std::string& path) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height)) {
        throw HostError("Cannot make an image of " + std::to_string(image.width) + " x " +
                        std::to_string(image.height) + " pixels.");
    }
    const std::string partial = path + ".partial";
    bool encoded = false;
    {
        ComScope com;
        encoded = encode(image, widePath(partial));
    }
    std::error_code error;
    if (!encoded) {
        std::filesystem::remove(partial, error);
        throw HostError("Cannot write " + path + " (the PNG encoder failed).");
    }
    std::filesystem::rename(partial, path, error);
    if (error) {
        std::filesystem::remove(partial, error);
        throw HostError("Cannot move the finished image into place at " + path + ".");
    }
}
