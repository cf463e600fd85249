#include "osd_text.h"

#include <cwchar>

#include "osd_image.h"
#include "osd_list.h"

namespace noxd {

namespace {

// The string's margin on the canvas: the outline may reach this far out.
constexpr int kTextLeft = 20;
constexpr int kTextTop = 2;

COLORREF ColourRefOf(uint32_t color) { return color & 0x00FFFFFF; }

HFONT CreateOsdFont(const TextStyle& style) {
    return CreateFontW(style.font_height, 0, 0, 0, style.weight, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_CHARACTER_PRECIS, CLIP_DEFAULT_PRECIS,
                       NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, style.face_name);
}

void FillCanvas(HDC dc, const CanvasSize& size, uint32_t background) {
    const UniqueGdiObject brush(CreateSolidBrush(ColourRefOf(background)));
    const RECT all = {0, 0, size.width, size.height};
    FillRect(dc, &all, static_cast<HBRUSH>(brush.get()));
    SetBkColor(dc, ColourRefOf(background));
    SetBkMode(dc, TRANSPARENT);
}

// The outline is the string stamped at every offset within its width.
void DrawOutlinedString(HDC dc, const wchar_t* text, int length, const TextStyle& style) {
    const int n = style.outline_width;
    SetTextColor(dc, ColourRefOf(style.outline_color));
    for (int x = kTextLeft - n; x <= kTextLeft + n; ++x)
        for (int y = kTextTop - n; y <= kTextTop + n; ++y) TextOutW(dc, x, y, text, length);
    SetTextColor(dc, ColourRefOf(style.text_color));
    TextOutW(dc, kTextLeft, kTextTop, text, length);
}

}  // namespace

HRESULT RasterizeOsdText(const wchar_t* text, const TextStyle& style, PixelImage& image) {
    image.Release();
    if (!text) return E_INVALIDARG;
    const int length = static_cast<int>(std::wcslen(text));

    ScreenDc screen;
    const UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    if (!dc) return E_FAIL;
    const UniqueGdiObject font(CreateOsdFont(style));
    if (!font) return E_FAIL;
    const SelectedObject font_in(dc.get(), font.get());

    SIZE extent = {};
    GetTextExtentPointW(dc.get(), text, length, &extent);
    const CanvasSize size = TextCanvasSize(extent.cx, extent.cy);
    const UniqueGdiObject canvas(CreateCompatibleBitmap(screen.get(), size.width, size.height));
    if (!canvas) return E_INVALIDARG;
    {
        const SelectedObject canvas_in(dc.get(), canvas.get());
        FillCanvas(dc.get(), size, style.background_color);
        DrawOutlinedString(dc.get(), text, length, style);
        GdiFlush();
    }
    // Read once the canvas is out of the DC, as GDI wants for its bits.
    const HRESULT read = ReadBitmapPixels(static_cast<HBITMAP>(canvas.get()), image);
    if (read != S_OK) return read;
    ApplyTextAlpha(image, style.background_color, style.text_color, style.outline_color);
    return S_OK;
}

}  // namespace noxd

COsdText::COsdText(noxd::OverlayRenderer* owner, const wchar_t* text, const noxd::TextStyle& style,
                   const noxd::ImageCorners& corners_, int32_t anchor_)
    : CBaseOsdObject(owner, kOsdText), corners(corners_), anchor(anchor_) {
    color = style.background_color;
    if (status == S_OK) status = noxd::RasterizeOsdText(text, style, image);
}

HRESULT COsdText::Draw() { return noxd::DrawOsdImage(*renderer, image, corners, anchor); }
