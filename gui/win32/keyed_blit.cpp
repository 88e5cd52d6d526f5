#include "keyed_blit.h"

#include "gdi_objects.h"

namespace {
using TransparentBltProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

// Process-wide, touched only on the user-interface thread.
HMODULE msimg32 = nullptr;
TransparentBltProc transparentBlt = nullptr;
int users = 0;
bool maskForced = false;

bool isNtFamily() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    const BOOL known = GetVersionExA(&version);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return known && version.dwPlatformId > 1;
}
}  // namespace

void acquireTransparentBlt() {
    if (users++ > 0) return;
    msimg32 = LoadLibraryA("msimg32.dll");
    if (msimg32 && isNtFamily()) {
        transparentBlt = reinterpret_cast<TransparentBltProc>(
            reinterpret_cast<void*>(GetProcAddress(msimg32, "TransparentBlt")));
    }
}

void releaseTransparentBlt() {
    if (users == 0 || --users > 0) return;
    transparentBlt = nullptr;
    if (msimg32) FreeLibrary(msimg32);
    msimg32 = nullptr;
}

bool transparentBltAvailable() { return transparentBlt != nullptr && !maskForced; }

void forceMaskKeyedBlit(bool force) { maskForced = force; }

void keyedBlit(HDC dest, int destX, int destY, int width, int height, HDC source, int srcX,
               int srcY, COLORREF key) {
    if (transparentBltAvailable()) {
        transparentBlt(dest, destX, destY, width, height, source, srcX, srcY, width, height, key);
    } else {
        maskKeyedBlit(dest, destX, destY, width, height, source, srcX, srcY, key);
    }
}

void maskKeyedBlit(HDC dest, int destX, int destY, int width, int height, HDC source, int srcX,
                   int srcY, COLORREF key) {
    if (width <= 0 || height <= 0) return;
    // A monochrome copy of the source: set (white) where the source has the
    // key colour, clear (black) everywhere else.
    HBITMAP mask = countGdiObject(CreateBitmap(width, height, 1, 1, nullptr));
    HDC maskDc = createMemoryDc(dest);
    if (!mask || !maskDc) {
        deleteMemoryDc(maskDc);
        deleteGdiObject(mask);
        return;
    }
    HGDIOBJ previousMask = SelectObject(maskDc, mask);
    const COLORREF sourceBack = SetBkColor(source, key);
    BitBlt(maskDc, 0, 0, width, height, source, srcX, srcY, SRCCOPY);
    SetBkColor(source, sourceBack);

    // With white background and black text the mask expands to black where
    // the source is opaque and white where it is transparent: XOR the source
    // in, clear the opaque pixels, XOR the source again. Transparent pixels
    // end as they were, opaque ones as the source.
    const COLORREF destBack = SetBkColor(dest, RGB(255, 255, 255));
    const COLORREF destText = SetTextColor(dest, RGB(0, 0, 0));
    BitBlt(dest, destX, destY, width, height, source, srcX, srcY, SRCINVERT);
    BitBlt(dest, destX, destY, width, height, maskDc, 0, 0, SRCAND);
    BitBlt(dest, destX, destY, width, height, source, srcX, srcY, SRCINVERT);
    SetBkColor(dest, destBack);
    SetTextColor(dest, destText);

    SelectObject(maskDc, previousMask);
    deleteMemoryDc(maskDc);
    deleteGdiObject(mask);
}
