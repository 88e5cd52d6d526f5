// GDI drawing through the toolkit's drawing context: the keyed blit's two
// paths, fills, pens and fonts as the device context sees them, and every
// object created deleted again.
#include <gtest/gtest.h>

#include <algorithm>

#include "gui/gui_bitmap.h"
#include "gui/gui_draw_context.h"
#include "gui/win32/gdi_bitmap_image.h"
#include "gui/win32/gdi_canvas.h"
#include "gui/win32/gdi_objects.h"
#include "gui/win32/keyed_blit.h"
#include "win32_test_support.h"

namespace {

// A destination no bitmap pixel is likely to match: a colour ramp.
void paintPattern(PixelSurface& surface) {
    for (int y = 0; y < surface.height(); ++y) {
        for (int x = 0; x < surface.width(); ++x) {
            surface.set(x, y, static_cast<uint32_t>((x * 5) << 16 | (y * 3) << 8 | ((x + y) & 0xFF)));
        }
    }
}

class TransparentBltHeld {
public:
    TransparentBltHeld() { acquireTransparentBlt(); }
    ~TransparentBltHeld() {
        forceMaskKeyedBlit(false);
        releaseTransparentBlt();
    }
};

// Draws `source` of bitmap keyed onto a patterned surface.
std::vector<uint32_t> keyedOnPattern(GuiBitmap& bitmap, const GuiRect& dest, const GuiPoint& source,
                                     bool forceMask) {
    forceMaskKeyedBlit(forceMask);
    PixelSurface surface(64, 64);
    paintPattern(surface);
    {
        GdiCanvas canvas(surface.deviceContext());
        GuiDrawContext context(nullptr, &canvas, nullptr);
        bitmap.drawTransparent(&context, dest, source);
    }
    return surface.pixels();
}

GuiBitmap* whiteBitmap(int width, int height) {
    HDC screen = GetDC(nullptr);
    HBITMAP handle = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(dc, handle);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, previous);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return new GuiBitmap(GdiBitmapImage::adopt(handle));
}

// The first image of a bitmap resource (at most 48 x 48) with white areas
// painted in: a block in one corner and a scatter of single pixels.
GuiBitmap* withWhiteAreas(int resourceId) {
    HBITMAP resource = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId));
    if (!resource) return nullptr;
    BITMAP info{};
    GetObjectA(resource, sizeof info, &info);
    const int w = std::min<int>(info.bmWidth, 48);
    const int h = std::min<int>(info.bmHeight, 48);
    HDC screen = GetDC(nullptr);
    HBITMAP copy = CreateCompatibleBitmap(screen, w, h);
    HDC from = CreateCompatibleDC(screen);
    HDC to = CreateCompatibleDC(screen);
    HGDIOBJ previousFrom = SelectObject(from, resource);
    HGDIOBJ previousTo = SelectObject(to, copy);
    BitBlt(to, 0, 0, w, h, from, 0, 0, SRCCOPY);
    RECT corner{0, 0, w / 3, h / 2};
    FillRect(to, &corner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    for (int y = 0; y < h; y += 3) {
        for (int x = (y * 7) % 5; x < w; x += 5) SetPixel(to, x, y, RGB(255, 255, 255));
    }
    SelectObject(from, previousFrom);
    SelectObject(to, previousTo);
    DeleteDC(from);
    DeleteDC(to);
    ReleaseDC(nullptr, screen);
    DeleteObject(resource);
    return new GuiBitmap(GdiBitmapImage::adopt(copy));
}

LOGFONTA selectedFont(HDC dc) {
    LOGFONTA font{};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof font, &font);
    return font;
}

// The face the system selected for the current font, and whether it is TrueType.
std::string selectedFace(HDC dc) {
    char face[LF_FACESIZE] = "";
    GetTextFaceA(dc, LF_FACESIZE, face);
    return face;
}

bool selectedIsTrueType(HDC dc) {
    TEXTMETRICA metrics{};
    return GetTextMetricsA(dc, &metrics) && (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0;
}

// What the canvas asks with first: a face selected as it is asked for, or
// a TrueType one, keeps the request; otherwise it asks for TrueType only.
BYTE expectedOutPrecision(const char* face, int height, bool bold) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontA(-height, 0, 0, 0, bold ? 700 : 400, 0, 0, 0, 0, 1, 2, 0, 34, face);
    HGDIOBJ previous = SelectObject(dc, font);
    const bool keep = _stricmp(selectedFace(dc).c_str(), face) == 0 || selectedIsTrueType(dc);
    SelectObject(dc, previous);
    DeleteObject(font);
    DeleteDC(dc);
    return keep ? 1 : OUT_TT_ONLY_PRECIS;
}

}  // namespace

TEST(KeyedBlit, MaskFallbackAndTransparentBltGiveTheSamePixels) {
    TransparentBltHeld held;
    ASSERT_TRUE(transparentBltAvailable()) << "msimg32.dll should offer TransparentBlt here";
    const int32_t live = liveGdiObjectCount();
    for (int id : {1003, 1002, 1006}) {
        GuiBitmap* bitmap = withWhiteAreas(id);
        ASSERT_NE(bitmap, nullptr) << id;
        const int w = bitmap->getWidth();
        const int h = bitmap->getHeight();
        const GuiRect dest{8, 4, 8 + w, 4 + h};
        const GuiPoint source{};
        const auto viaTransparentBlt = keyedOnPattern(*bitmap, dest, source, false);
        const auto viaMask = keyedOnPattern(*bitmap, dest, source, true);
        EXPECT_EQ(viaTransparentBlt, viaMask) << "bitmap " << id;

        // Each kind of pixel ends where it should: white ones leave the
        // pattern, the others show the bitmap.
        PixelSurface plain(64, 64);
        paintPattern(plain);
        const auto pattern = plain.pixels();
        {
            GdiCanvas canvas(plain.deviceContext());
            GuiDrawContext context(nullptr, &canvas, nullptr);
            bitmap->draw(&context, dest, source);
        }
        int keyed = 0, opaque = 0;
        for (int y = dest.top; y < dest.bottom; ++y) {
            for (int x = dest.left; x < dest.right; ++x) {
                const auto i = static_cast<std::size_t>(y * 64 + x);
                if (plain.at(x, y) == 0xFFFFFFu) {
                    ++keyed;
                    EXPECT_EQ(viaMask[i], pattern[i]);
                } else {
                    ++opaque;
                    EXPECT_EQ(viaMask[i], plain.at(x, y));
                }
            }
        }
        EXPECT_GT(keyed, 0) << id;
        EXPECT_GT(opaque, 0) << id;
        bitmap->release();
    }
    EXPECT_EQ(liveGdiObjectCount(), live);
}

TEST(KeyedBlit, AnAllWhiteBitmapChangesNothingOnEitherPath) {
    TransparentBltHeld held;
    GuiBitmap* white = whiteBitmap(20, 20);
    PixelSurface untouched(64, 64);
    paintPattern(untouched);
    for (bool mask : {false, true}) {
        EXPECT_EQ(keyedOnPattern(*white, GuiRect{5, 5, 25, 25}, GuiPoint{}, mask), untouched.pixels())
            << (mask ? "mask" : "TransparentBlt");
    }
    white->release();
}

TEST(GdiDrawing, FillsStopBeforeTheRightAndBottomEdgesAndLeaveTheOutlineRowAndColumn) {
    PixelSurface surface(32, 32);
    {
        GdiCanvas canvas(surface.deviceContext());
        GuiDrawContext context(nullptr, &canvas, nullptr);
        context.setFillColor(kGuiRed);
        context.fillRect(GuiRect{10, 10, 20, 20});
    }
    for (int y = 9; y <= 20; ++y) {
        for (int x = 9; x <= 20; ++x) {
            const bool inside = x >= 11 && x < 20 && y >= 11 && y < 20;
            EXPECT_EQ(surface.at(x, y), inside ? 0xFF0000u : 0u) << x << "," << y;
        }
    }
}

TEST(GdiDrawing, FontsPensAndBrushesAreTheTablesAndTheDeviceContextGetsItsOwnBack) {
    PixelSurface surface(32, 32);
    HDC dc = surface.deviceContext();
    HGDIOBJ originalFont = GetCurrentObject(dc, OBJ_FONT);
    HGDIOBJ originalPen = GetCurrentObject(dc, OBJ_PEN);
    HGDIOBJ originalBrush = GetCurrentObject(dc, OBJ_BRUSH);
    const int32_t live = liveGdiObjectCount();
    {
        GdiCanvas canvas(dc);
        GuiDrawContext context(nullptr, &canvas, nullptr);
        EXPECT_EQ(GetBkMode(dc), TRANSPARENT);

        context.setFont(9);  // out of the table: font 0, Arial 12 bold
        LOGFONTA font = selectedFont(dc);
        EXPECT_STREQ(font.lfFaceName, "Arial");
        EXPECT_EQ(font.lfHeight, -12);
        EXPECT_EQ(font.lfWeight, 700);
        EXPECT_EQ(font.lfPitchAndFamily, 34);
        EXPECT_EQ(font.lfOutPrecision, expectedOutPrecision("Arial", 12, true));
        EXPECT_EQ(font.lfClipPrecision, 2);

        context.setFont(4, 0, kGuiItalicFace | kGuiUnderlineFace);
        font = selectedFont(dc);
        EXPECT_EQ(font.lfHeight, -11);
        EXPECT_EQ(font.lfWeight, 400);
        EXPECT_TRUE(font.lfItalic);
        EXPECT_TRUE(font.lfUnderline);

        context.setFont(7, 20, kGuiBoldFace);
        font = selectedFont(dc);
        EXPECT_STREQ(font.lfFaceName, "Symbol");
        EXPECT_EQ(font.lfHeight, -20);
        EXPECT_EQ(font.lfWeight, 700);
        EXPECT_EQ(font.lfPitchAndFamily, 80);

        context.setFrameColor(kGuiBlue);
        context.setLineStyle(kGuiLineOnOffDash);
        LOGPEN pen{};
        GetObjectA(GetCurrentObject(dc, OBJ_PEN), sizeof pen, &pen);
        EXPECT_EQ(pen.lopnStyle, static_cast<UINT>(PS_DOT));
        EXPECT_EQ(pen.lopnColor, RGB(0, 0, 255));

        context.setFillColor(kGuiGreen);
        EXPECT_EQ(GetBkColor(dc), RGB(0, 255, 0));
        LOGBRUSH brush{};
        GetObjectA(GetCurrentObject(dc, OBJ_BRUSH), sizeof brush, &brush);
        EXPECT_EQ(brush.lbColor, RGB(0, 255, 0));

        // Opaque text sets the background mode only while it draws.
        context.drawString("Velmora", GuiRect{0, 0, 32, 16}, true, kGuiLeftText);
        EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
        EXPECT_GT(liveGdiObjectCount(), live);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), originalFont);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), originalPen);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), originalBrush);
    EXPECT_EQ(liveGdiObjectCount(), live);
}

// Under Wine without Arial the swiss-family request for the value display
// selected a raster font (blocky digits); every font of the table is now
// TrueType or the face asked for, and with Arial nothing changes.
TEST(GdiDrawing, TheValueDisplayAndEveryTableFontSelectTrueType) {
    PixelSurface surface(32, 32);
    HDC dc = surface.deviceContext();
    const int32_t live = liveGdiObjectCount();
    {
        GdiCanvas canvas(dc);
        GuiDrawContext context(nullptr, &canvas, nullptr);
        for (int32_t index = 0; index < 8; ++index) {
            context.setFont(index);
            const LOGFONTA font = selectedFont(dc);
            const std::string face = selectedFace(dc);
            std::printf("font %d: asked for %s, selected %s%s\n", index, font.lfFaceName, face.c_str(),
                        selectedIsTrueType(dc) ? " (TrueType)" : "");
            EXPECT_TRUE(selectedIsTrueType(dc) || _stricmp(face.c_str(), font.lfFaceName) == 0)
                << index << ": " << face;
            if (_stricmp(face.c_str(), "Arial") == 0) {
                EXPECT_EQ(font.lfOutPrecision, 1) << index;
            }
        }
        // The display's own font (4: Arial 11), as the display sets it.
        context.setFont(4, 0, 0);
        EXPECT_TRUE(selectedIsTrueType(dc)) << selectedFace(dc);
        EXPECT_EQ(selectedFont(dc).lfHeight, -11);
        EXPECT_EQ(selectedFont(dc).lfPitchAndFamily, 34);
    }
    EXPECT_EQ(liveGdiObjectCount(), live);  // the first answer is deleted again
}

TEST(GdiDrawing, OnlyARasterFontOfAnotherFaceIsAskedForAgain) {
    EXPECT_TRUE(keepsFirstFontChoice("Arial", "Arial", true));          // Windows with Arial
    EXPECT_TRUE(keepsFirstFontChoice("Liberation Sans", "Arial", true));  // Wine's substitute
    EXPECT_TRUE(keepsFirstFontChoice("SYMBOL", "Symbol", false));        // the face asked for
    EXPECT_FALSE(keepsFirstFontChoice("MS Sans Serif", "Arial", false)); // a raster stand-in
    EXPECT_FALSE(keepsFirstFontChoice("System", "", false));
}

TEST(GdiDrawing, AMissingResourceGivesAnEmptyBitmapThatDrawsNothing) {
    auto* missing = new GuiBitmap(4242);
    EXPECT_FALSE(missing->isLoaded());
    EXPECT_EQ(missing->getWidth(), 0);
    EXPECT_EQ(missing->getHeight(), 0);
    PixelSurface surface(8, 8);
    paintPattern(surface);
    const auto before = surface.pixels();
    {
        GdiCanvas canvas(surface.deviceContext());
        GuiDrawContext context(nullptr, &canvas, nullptr);
        missing->draw(&context, GuiRect{0, 0, 8, 8});
        missing->drawTransparent(&context, GuiRect{0, 0, 8, 8});
    }
    EXPECT_EQ(surface.pixels(), before);
    missing->release();
}
