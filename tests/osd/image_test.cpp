// Bitmap overlays read back from the window: keyed and self-alpha 32-bit
// images, opaque 8-, 16- and 24-bit ones, files from disk (and malformed
// files refused), raw pixels, and the anchor modes.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "bmp_corpus.h"
#include "osd_view.h"

using namespace noxd_osd_test;

namespace {

constexpr uint32_t kMagenta = 0x00FF00FF;  // 0xAARRGGBB pixel and COLORREF alike

// A bitmap covering the whole view, stretched.
HRESULT AddWhole(const OsdView& v, UINT_PTR* slot, HBITMAP bitmap, uint32_t key, uint32_t key_alpha = 0) {
    return noxd_add_osd_bitmap_handle(v.get(), slot, bitmap, 0, 1, 1, 0, 0, key, key_alpha);
}

// The centre of cell (cx, cy) of an image of w x h cells stretched over the view.
int CellX(const OsdView& v, int cx, int w) { return (2 * cx + 1) * v.width() / (2 * w); }
int CellY(const OsdView& v, int cy, int h) { return (2 * cy + 1) * v.height() / (2 * h); }

TEST(OsdBitmapTest, KeyColourOf32BitImageWithoutAlphaIsTransparent) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    // Left column magenta, right column green, no alpha.
    HBITMAP bitmap = Halves(kMagenta, 0x0000FF00);
    UINT_PTR slot = 0;
    ASSERT_EQ(AddWhole(v, &slot, bitmap, kMagenta), S_OK);
    DeleteObject(bitmap);  // the overlay keeps pixels of its own
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 50, 150, kGrey));
    EXPECT_TRUE(Shows(shot, 350, 150, kGreen));
}

TEST(OsdBitmapTest, KeyAlphaIsGivenToTheKeyColour) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    HBITMAP bitmap = Halves(0x00FF0000, 0x0000FF00);
    UINT_PTR slot = 0;
    ASSERT_EQ(AddWhole(v, &slot, bitmap, 0x000000FF /* red as a COLORREF */, 0x80), S_OK);
    DeleteObject(bitmap);
    EXPECT_TRUE(Shows(v.Draw(), 50, 150, HalfRedOverGrey(), 3));
}

TEST(OsdBitmapTest, ImageWithAlphaOfItsOwnIsNotKeyed) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    // Magenta fully opaque, blue with alpha 0: kept as they are.
    HBITMAP bitmap = Halves(0xFF000000 | kMagenta, 0x000000FF);
    UINT_PTR slot = 0;
    ASSERT_EQ(AddWhole(v, &slot, bitmap, kMagenta), S_OK);
    DeleteObject(bitmap);
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 50, 150, Rgb{255, 0, 255}));
    EXPECT_TRUE(Shows(shot, 350, 150, kGrey));
}

TEST(OsdBitmapTest, SixteenBitImageIsOpaqueWhateverTheKey) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    uint16_t bits[8];  // red, blue halves in 5-6-5
    for (int x = 0; x < 8; ++x) bits[x] = x < 4 ? 0xF800 : 0x001F;
    HBITMAP bitmap = CreateBitmap(8, 1, 1, 16, bits);
    ASSERT_NE(bitmap, nullptr);
    UINT_PTR slot = 0;
    ASSERT_EQ(AddWhole(v, &slot, bitmap, 0x000000F8), S_OK);  // the red it converts to
    DeleteObject(bitmap);
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 50, 150, Rgb{248, 0, 0}, 3));
    EXPECT_TRUE(Shows(shot, 350, 150, Rgb{0, 0, 248}, 3));
}

uint32_t ColumnColour(int x, int) {
    static const uint32_t colours[] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF, 0x00000000};
    return colours[x % 5];
}

TEST(OsdBitmapTest, TwentyFourBitImageOfOddWidthIsNotSkewed) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    // 5 pixels = 15 bytes a row, which GDI pads; a row read at 15 bytes
    // would shift every later row by one byte.
    const int w = 5, h = 4, stride = 16;
    std::vector<uint8_t> bits(stride * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = ColumnColour(x, y);
            bits[y * stride + 3 * x] = p & 0xFF;
            bits[y * stride + 3 * x + 1] = (p >> 8) & 0xFF;
            bits[y * stride + 3 * x + 2] = (p >> 16) & 0xFF;
        }
    HBITMAP bitmap = CreateBitmap(w, h, 1, 24, bits.data());
    ASSERT_NE(bitmap, nullptr);
    UINT_PTR slot = 0;
    ASSERT_EQ(AddWhole(v, &slot, bitmap, 0x000000), S_OK);  // black is not keyed: opaque
    DeleteObject(bitmap);
    const Capture shot = v.Draw();
    const Rgb want[] = {kRed, kGreen, kBlue, kWhite, kBlack};
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) EXPECT_TRUE(Shows(shot, CellX(v, x, w), CellY(v, y, h), want[x]));
}

TEST(OsdBitmapTest, EightBitImageGoesThroughItsColourTable) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[3];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = 3;
    info.header.biHeight = -2;  // top row first
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biClrUsed = 3;
    info.colours[0] = {0, 0, 255, 0};  // red (blue, green, red, reserved)
    info.colours[1] = {0, 255, 0, 0};  // green
    info.colours[2] = {0, 0, 0, 0};    // black: the key, yet opaque
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                      nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    const uint8_t indices[2][4] = {{0, 1, 2, 0}, {2, 2, 1, 0}};
    std::memcpy(bits, indices, sizeof indices);
    UINT_PTR slot = 0;
    ASSERT_EQ(AddWhole(v, &slot, bitmap, 0x000000), S_OK);
    DeleteObject(bitmap);
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, CellX(v, 0, 3), CellY(v, 0, 2), kRed));
    EXPECT_TRUE(Shows(shot, CellX(v, 1, 3), CellY(v, 0, 2), kGreen));
    EXPECT_TRUE(Shows(shot, CellX(v, 2, 3), CellY(v, 0, 2), kBlack));
    EXPECT_TRUE(Shows(shot, CellX(v, 0, 3), CellY(v, 1, 2), kBlack));
    EXPECT_TRUE(Shows(shot, CellX(v, 2, 3), CellY(v, 1, 2), kGreen));
}

TEST(OsdBitmapTest, NullBitmapAndOneBitBitmapAreRefused) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR slot = 0;
    EXPECT_EQ(AddWhole(v, &slot, nullptr, 0), E_INVALIDARG);
    const uint8_t mono[2] = {0xAA, 0};
    HBITMAP bitmap = CreateBitmap(8, 1, 1, 1, mono);
    EXPECT_EQ(AddWhole(v, &slot, bitmap, 0), E_INVALIDARG);
    DeleteObject(bitmap);
    EXPECT_EQ(slot, 0u);
}

uint32_t RedTopRowOverBlue(int, int y) { return y == 0 ? 0x00FF0000 : 0x000000FF; }

TEST(OsdBitmapFileTest, FileFromDiskWithItsTopRowAlongY0) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    const TempFile file(L"noxd_osd_rows.bmp", Bmp24(4, 4, RedTopRowOverBlue));
    UINT_PTR slot = 0;
    ASSERT_EQ(noxd_add_osd_bitmap_file(v.get(), &slot, file.path(), 0, 1, 1, 0, 0, 0, 0), S_OK);
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 200, CellY(v, 0, 4), kRed));
    EXPECT_TRUE(Shows(shot, 200, CellY(v, 2, 4), kBlue));
    EXPECT_TRUE(Shows(shot, 200, CellY(v, 3, 4), kBlue));
}

TEST(OsdBitmapFileTest, MissingAndMalformedFilesAreRefusedWithoutHarm) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR slot = 0;
    EXPECT_EQ(noxd_add_osd_bitmap_file(v.get(), &slot, L"C:\\no\\such.bmp", 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_bitmap_file(v.get(), &slot, nullptr, 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG);
    for (const MalformedBmp& bad : MalformedBmpCorpus()) {
        const TempFile file(L"noxd_osd_bad.bmp", bad.bytes);
        EXPECT_EQ(noxd_add_osd_bitmap_file(v.get(), &slot, file.path(), 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG)
            << bad.name;
        EXPECT_EQ(slot, 0u) << bad.name;
    }
    EXPECT_TRUE(Shows(v.Draw(), 200, 150, kGrey));
}

TEST(OsdBitmapDataTest, NegativeWidthTakesItsSizeAndPixelsAreUsedAsGiven) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    // 4 x 3, top row first: red, green, blue rows; alpha 0 in one corner.
    std::vector<uint32_t> pixels(12);
    for (int i = 0; i < 12; ++i) pixels[i] = i < 4 ? 0xFFFF0000 : i < 8 ? 0xFF00FF00 : 0xFF0000FF;
    pixels[11] = 0x000000FF;
    UINT_PTR slot = 0;
    ASSERT_EQ(noxd_add_osd_bitmap_data32(v.get(), &slot, pixels.data(), -4, 3, 0, 1, 1, 0, 0, kMagenta, 0), S_OK);
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, CellX(v, 1, 4), CellY(v, 0, 3), kRed));
    EXPECT_TRUE(Shows(shot, CellX(v, 2, 4), CellY(v, 1, 3), kGreen));
    EXPECT_TRUE(Shows(shot, CellX(v, 0, 4), CellY(v, 2, 3), kBlue));
    EXPECT_TRUE(Shows(shot, CellX(v, 3, 4), CellY(v, 2, 3), kGrey));  // alpha 0
}

TEST(OsdBitmapDataTest, RefusedBeforeAnythingIsRead) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    const uint32_t pixel = 0xFFFFFFFF;
    UINT_PTR slot = 0;
    EXPECT_EQ(noxd_add_osd_bitmap_data32(v.get(), &slot, &pixel, 0, 3, 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_bitmap_data32(v.get(), &slot, &pixel, 3, 0, 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_bitmap_data32(v.get(), &slot, nullptr, 4, 3, 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG);
    // Sizes whose byte count does not fit 32 bits: refused without touching
    // the one pixel behind the pointer.
    EXPECT_EQ(noxd_add_osd_bitmap_data32(v.get(), &slot, &pixel, 65536, 65536, 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_bitmap_data32(v.get(), &slot, &pixel, 0x40000000, 1, 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_add_osd_bitmap_data32(v.get(), &slot, &pixel, INT_MIN, INT_MIN, 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG);
    EXPECT_EQ(slot, 0u);
}

// The red extent of a row or column of the shot: first and last red pixel.
struct Extent {
    int first = -1, last = -1;
};
bool IsRed(Rgb c) { return c.r > 200 && c.g < 60; }
Extent RedAlongRow(const Capture& shot, int y) {
    Extent e;
    for (int x = 0; x < shot.width(); ++x)
        if (IsRed(shot.At(x, y))) {
            if (e.first < 0) e.first = x;
            e.last = x;
        }
    return e;
}
Extent RedAlongColumn(const Capture& shot, int x) {
    Extent e;
    for (int y = 0; y < shot.height(); ++y)
        if (IsRed(shot.At(x, y))) {
            if (e.first < 0) e.first = y;
            e.last = y;
        }
    return e;
}

struct AnchorCase {
    int anchor;
    double left, right, top, bottom;  // expected pixels, y down
};

class OsdAnchorTest : public ::testing::TestWithParam<AnchorCase> {};

TEST_P(OsdAnchorTest, FixedSizeOn768x576AndTheRightCornerKept) {
    const AnchorCase c = GetParam();
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    const uint32_t red[4] = {0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000};
    UINT_PTR slot = 0;
    ASSERT_EQ(noxd_add_osd_bitmap_data32(v.get(), &slot, red, 2, 2, 0.3f, 0.7f, 0.4f, 0.6f, c.anchor, 0, 0), S_OK);
    const Capture shot = v.Draw();
    const Extent across = RedAlongRow(shot, static_cast<int>((c.top + c.bottom) / 2));
    const Extent down = RedAlongColumn(shot, static_cast<int>((c.left + c.right) / 2));
    EXPECT_NEAR(across.first, c.left, 1.5);
    EXPECT_NEAR(across.last + 1, c.right, 1.5);
    EXPECT_NEAR(down.first, c.top, 1.5);
    EXPECT_NEAR(down.last + 1, c.bottom, 1.5);
}

// Corners x 0.3..0.4, y 0.7..0.6 on 400 x 300: 0.1 of 768 and of 576 is
// 76.8 x 57.6 pixels for every fixed anchor; anchor 0 stretches to 40 x 30.
INSTANTIATE_TEST_SUITE_P(AllAnchors, OsdAnchorTest,
                         ::testing::Values(AnchorCase{0, 120, 160, 90, 120},
                                           AnchorCase{1, 120, 196.8, 90, 147.6},
                                           AnchorCase{2, 120, 196.8, 62.4, 120},
                                           AnchorCase{3, 83.2, 160, 90, 147.6},
                                           AnchorCase{4, 83.2, 160, 62.4, 120},
                                           AnchorCase{7, 120, 196.8, 90, 147.6}),
                         [](const ::testing::TestParamInfo<AnchorCase>& info) {
                             return "Anchor" + std::to_string(info.param.anchor);
                         });

}  // namespace
