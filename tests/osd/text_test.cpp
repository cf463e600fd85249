// Text overlays read back from the window: glyphs in the text colour inside
// an outline, on a box whose background alpha 0 lets the video through.
#include <gtest/gtest.h>

#include "osd_view.h"

using namespace noxd_osd_test;

namespace {

bool IsWhite(Rgb c) { return c.r > 240 && c.g > 240 && c.b > 240; }
bool IsBlack(Rgb c) { return c.r < 16 && c.g < 16 && c.b < 16; }
bool IsGrey(Rgb c) { return noxd_test::Near(c, kGrey, 8); }

constexpr wchar_t kText[] = L"III";
constexpr int kFontHeight = 48;
constexpr int kWeight = 700;

// The string's extent in the font the overlay uses, measured by GDI here.
SIZE MeasureText() {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HFONT font = CreateFontW(kFontHeight, 0, 0, 0, kWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_CHARACTER_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, L"Arial");
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent = {};
    GetTextExtentPointW(dc, kText, 3, &extent);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return extent;
}

// The text's box in client pixels.
struct Box {
    int left, top, right, bottom;
};

// Draws the text at its own size on a 768 x 576 viewport: the fixed-size
// anchor with the canvas's size in reference-frame fractions, so that canvas
// pixels are screen pixels.
Capture DrawText(OsdView& v, uint32_t text, uint32_t background, uint32_t outline, uint32_t outline_width,
                 Box* box) {
    const SIZE extent = MeasureText();
    const int width = (extent.cx + 40) / 20 * 20, height = extent.cy + 4;
    *box = {96, 96, 96 + width, 96 + height};
    const float x0 = 96.0f / 768, y0 = 1 - 96.0f / 576;
    UINT_PTR slot = 0;
    EXPECT_EQ(noxd_add_osd_text(v.get(), &slot, kText, kFontHeight, L"Arial", kWeight, x0, y0,
                                x0 + width / 768.0f, y0 - height / 576.0f, 1, text, background, outline,
                                outline_width),
              S_OK);
    return v.Draw();
}

TEST(OsdTextTest, WhiteGlyphsWithAOnePixelBlackOutlineOnATransparentBox) {
    OsdView v(768, 576);
    ASSERT_EQ(v.status(), S_OK);
    Box box;
    const Capture shot = DrawText(v, 0xFFFFFFFF, 0x00FF00FF, 0xFF000000, 1, &box);
    int white = 0, black = 0, other = 0, bare_edges = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            const Rgb c = shot.At(x, y);
            white += IsWhite(c);
            black += IsBlack(c);
            other += !IsWhite(c) && !IsBlack(c) && !IsGrey(c);
            // A glyph pixel never touches the video directly: the outline is between.
            if (IsWhite(c) && (IsGrey(shot.At(x - 1, y)) || IsGrey(shot.At(x + 1, y)))) ++bare_edges;
        }
    }
    EXPECT_GT(white, 100);
    EXPECT_GT(black, 60);
    EXPECT_EQ(other, 0);  // no magenta box, no blended fringes
    EXPECT_EQ(bare_edges, 0);
    // The canvas's margins hold no glyph: video shows through them.
    EXPECT_TRUE(IsGrey(shot.At(box.left + 5, (box.top + box.bottom) / 2)));
}

TEST(OsdTextTest, OutlineInTheBackgroundColourTakesItsAlpha) {
    OsdView v(768, 576);
    ASSERT_EQ(v.status(), S_OK);
    Box box;
    const Capture shot = DrawText(v, 0xFFFFFFFF, 0x00000000, 0xFF000000, 1, &box);
    int white = 0, black = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x) {
            white += IsWhite(shot.At(x, y));
            black += IsBlack(shot.At(x, y));
        }
    EXPECT_GT(white, 100);
    EXPECT_EQ(black, 0);
}

TEST(OsdTextTest, NullTextIsRefused) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR slot = 0;
    EXPECT_EQ(noxd_add_osd_text(v.get(), &slot, nullptr, 20, L"Arial", 400, 0, 1, 1, 0, 0, 0xFFFFFFFF, 0, 0, 1),
              E_INVALIDARG);
    EXPECT_EQ(slot, 0u);
}

}  // namespace
