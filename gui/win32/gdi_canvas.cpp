#include "gdi_canvas.h"

#include "gdi_bitmap_image.h"
#include "gdi_objects.h"
#include "keyed_blit.h"

namespace {
// DrawTextA formats: single line, vertically centred, no prefix processing.
constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
constexpr BYTE kSwissVariablePitch = VARIABLE_PITCH | FF_SWISS;  // 34
constexpr BYTE kSymbolPitchAndFamily = 80;                       // FF_DECORATIVE
constexpr LONG kBoldWeight = 700;
constexpr LONG kNormalWeight = 400;

// A memory device context with the image selected, for one blit.
class SourceDc {
public:
    SourceDc(HDC compatibleWith, HBITMAP bitmap) : dc(createMemoryDc(compatibleWith)) {
        if (dc) previous = SelectObject(dc, bitmap);
    }
    ~SourceDc() {
        if (!dc) return;
        SelectObject(dc, previous);
        deleteMemoryDc(dc);
    }
    SourceDc(const SourceDc&) = delete;
    SourceDc& operator=(const SourceDc&) = delete;
    HDC get() const { return dc; }

private:
    HDC dc;
    HGDIOBJ previous = nullptr;
};
}  // namespace

COLORREF colorRef(const GuiColor& colour) { return RGB(colour.red, colour.green, colour.blue); }

GdiCanvas::GdiCanvas(HDC target, HWND owner, GuiScale scaleStep)
    : dc(target),
      releaseTo(owner),
      scale(scaleStep),
      savedBrush(GetCurrentObject(target, OBJ_BRUSH)),
      savedPen(GetCurrentObject(target, OBJ_PEN)),
      savedFont(GetCurrentObject(target, OBJ_FONT)) {
    SetBkMode(dc, TRANSPARENT);
}

GdiCanvas::~GdiCanvas() {
    SelectObject(dc, savedBrush);
    SelectObject(dc, savedPen);
    SelectObject(dc, savedFont);
    deleteGdiObject(ownBrush);
    deleteGdiObject(ownPen);
    deleteGdiObject(ownFont);
    if (releaseTo) ReleaseDC(releaseTo, dc);
}

void GdiCanvas::replace(HGDIOBJ& own, HGDIOBJ replacement) {
    SelectObject(dc, replacement);
    deleteGdiObject(own);
    own = replacement;
}

void GdiCanvas::setPen(const GuiColor& colour, int32_t width, int32_t style) {
    LOGPEN pen{};
    pen.lopnStyle = style == kGuiLineOnOffDash ? PS_DOT : PS_SOLID;
    pen.lopnWidth.x = scale.toDevice(width);
    pen.lopnColor = colorRef(colour);
    HPEN created = countGdiObject(CreatePenIndirect(&pen));
    if (created) replace(ownPen, created);
}

void GdiCanvas::setBrush(const GuiColor& colour) {
    SetBkColor(dc, colorRef(colour));
    LOGBRUSH brush{};
    brush.lbStyle = BS_SOLID;
    brush.lbColor = colorRef(colour);
    HBRUSH created = countGdiObject(CreateBrushIndirect(&brush));
    if (created) replace(ownBrush, created);  // a failed brush keeps the old one
}

void GdiCanvas::setTextColor(const GuiColor& colour) { SetTextColor(dc, colorRef(colour)); }

void GdiCanvas::setFont(const GuiFontChoice& choice) {
    LOGFONTA font{};
    font.lfHeight = -scale.toDevice(choice.height);
    font.lfWeight = choice.bold ? kBoldWeight : kNormalWeight;
    font.lfItalic = choice.italic ? 1 : 0;
    font.lfUnderline = choice.underline ? 1 : 0;
    font.lfCharSet = 0;
    font.lfOutPrecision = 1;
    font.lfClipPrecision = 2;
    font.lfQuality = 0;
    font.lfPitchAndFamily = choice.symbol ? kSymbolPitchAndFamily : kSwissVariablePitch;
    lstrcpynA(font.lfFaceName, choice.face ? choice.face : "", LF_FACESIZE);
    HFONT created = countGdiObject(CreateFontIndirectA(&font));
    if (created && !selectsTrueTypeOrRequested(created, font.lfFaceName)) {
        // Without the face (Wine without Arial) the family request can end
        // on a raster font: ask once more, for TrueType only.
        font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
        HFONT trueType = countGdiObject(CreateFontIndirectA(&font));
        if (trueType) {
            deleteGdiObject(created);
            created = trueType;
        }
    }
    if (created) replace(ownFont, created);
}

bool keepsFirstFontChoice(const char* selectedFace, const char* requestedFace, bool trueType) {
    if (trueType) return true;
    return selectedFace && requestedFace && lstrcmpiA(selectedFace, requestedFace) == 0;
}

bool GdiCanvas::selectsTrueTypeOrRequested(HFONT font, const char* requestedFace) {
    HGDIOBJ previous = SelectObject(dc, font);
    if (!previous) return true;  // nothing to learn: keep the font
    char face[LF_FACESIZE] = "";
    TEXTMETRICA metrics{};
    const bool named = GetTextFaceA(dc, LF_FACESIZE, face) > 0;
    const bool measured = GetTextMetricsA(dc, &metrics) != 0;
    SelectObject(dc, previous);
    if (!named || !measured) return true;  // nothing to learn: keep the font
    return keepsFirstFontChoice(face, requestedFace, (metrics.tmPitchAndFamily & TMPF_TRUETYPE) != 0);
}

void GdiCanvas::moveTo(const GuiPoint& p) {
    const GuiPoint at = scale.toDevice(p);
    MoveToEx(dc, at.h, at.v, nullptr);
}

void GdiCanvas::lineTo(const GuiPoint& p) {
    const GuiPoint at = scale.toDevice(p);
    LineTo(dc, at.h, at.v);
}

void GdiCanvas::fillRect(const GuiRect& logical) {
    if (!ownBrush) return;
    const GuiRect r = scale.toDevice(logical);
    RECT area{r.left, r.top, r.right, r.bottom};
    HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
    FillRect(dc, &area, static_cast<HBRUSH>(ownBrush));
    SelectObject(dc, pen);
}

namespace {
// The points in device pixels; at most kGuiMaxPathPoints of them.
int devicePoints(const GuiScale& scale, const GuiPoint* points, int32_t count, POINT* device) {
    if (count > kGuiMaxPathPoints) count = kGuiMaxPathPoints;
    for (int32_t i = 0; i < count; ++i) {
        const GuiPoint at = scale.toDevice(points[i]);
        device[i] = POINT{at.h, at.v};
    }
    return count;
}
}  // namespace

void GdiCanvas::polyline(const GuiPoint* points, int32_t count) {
    POINT device[kGuiMaxPathPoints];
    const int n = devicePoints(scale, points, count, device);
    if (n >= 2) Polyline(dc, device, n);
}

void GdiCanvas::fillPolygon(const GuiPoint* points, int32_t count) {
    if (!ownBrush) return;
    POINT device[kGuiMaxPathPoints];
    const int n = devicePoints(scale, points, count, device);
    if (n < 3) return;
    HGDIOBJ pen = SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, device, n);
    SelectObject(dc, pen);
}

void GdiCanvas::drawText(const char* text, const GuiRect& logical, int32_t align, bool opaque) {
    if (!text) return;
    const GuiRect r = scale.toDevice(logical);
    UINT format = kTextFormat;
    if (align == kGuiCenterText) {
        format |= DT_CENTER;
    } else if (align == kGuiRightText) {
        format |= DT_RIGHT;
    }
    RECT area{r.left, r.top, r.right, r.bottom};
    SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
    DrawTextA(dc, text, -1, &area, format);
    SetBkMode(dc, TRANSPARENT);
}

void GdiCanvas::blit(const GuiBitmapImage& image, const GuiRect& logicalDest, const GuiPoint& logicalSrc) {
    const auto* bitmap = dynamic_cast<const GdiBitmapImage*>(&image);
    if (!bitmap) return;
    GuiRect dest;
    GuiPoint src;
    scale.toDeviceBlit(logicalDest, logicalSrc, dest, src);
    SourceDc source(dc, bitmap->handle());
    if (!source.get()) return;
    BitBlt(dc, dest.left, dest.top, dest.width(), dest.height(), source.get(), src.h, src.v,
           SRCCOPY);
}

void GdiCanvas::blitKeyed(const GuiBitmapImage& image, const GuiRect& logicalDest, const GuiPoint& logicalSrc,
                          const GuiColor& key) {
    const auto* bitmap = dynamic_cast<const GdiBitmapImage*>(&image);
    if (!bitmap) return;
    GuiRect dest;
    GuiPoint src;
    scale.toDeviceBlit(logicalDest, logicalSrc, dest, src);
    SourceDc source(dc, bitmap->handle());
    if (!source.get()) return;
    keyedBlit(dc, dest.left, dest.top, dest.width(), dest.height(), source.get(), src.h, src.v,
              colorRef(key));
}
