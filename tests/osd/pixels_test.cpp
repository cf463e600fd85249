// Image arithmetic without a window: conversion of 8-, 16- and 24-bit rows,
// colour keys, text alpha, the text canvas rule, image placement and the
// covered tiles of a layer of overlays, the power-of-two canvas of an image.
#include <gtest/gtest.h>

#include <vector>

#include "osd/osd_handle.h"
#include "math/layer_tiles.h"
#include "math/osd_pixels.h"

using namespace noxd;

namespace {

PixelImage Image(uint32_t w, uint32_t h) {
    PixelImage image;
    EXPECT_TRUE(image.Allocate(w, h));
    return image;
}

std::vector<uint32_t> PixelsOf(const PixelImage& image) {
    return {image.pixels.get(), image.pixels.get() + image.pixel_count()};
}

TEST(OsdConversionTest, Rows16Are565WithLowBitsZero) {
    // Rows of 3 pixels (6 bytes) padded to 8; the padding must be skipped.
    const uint8_t rows[] = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xEE, 0xEE,   // red, green, blue
                            0xFF, 0xFF, 0x00, 0x00, 0x10, 0x84, 0xEE, 0xEE};  // white, black, grey
    PixelImage image = Image(3, 2);
    ConvertRows16(rows, 8, image);
    EXPECT_EQ(PixelsOf(image), (std::vector<uint32_t>{0xFFF80000, 0xFF00FC00, 0xFF0000F8, 0xFFF8FCF8,
                                                      0xFF000000, 0xFF808080}));
}

TEST(OsdConversionTest, Rows24OfOddWidthFollowTheStride) {
    // Width 1: 3 bytes of pixel and 1 of padding per row.
    const uint8_t rows[] = {0x01, 0x02, 0x03, 0xEE, 0x04, 0x05, 0x06, 0xEE};
    PixelImage image = Image(1, 2);
    ConvertRows24(rows, 4, image);
    EXPECT_EQ(PixelsOf(image), (std::vector<uint32_t>{0xFF030201, 0xFF060504}));
}

TEST(OsdConversionTest, Rows8GoThroughThePalette) {
    const uint32_t palette[] = {0x00112233, 0x00FF0000, 0xAB00FF00};
    const uint8_t rows[] = {0, 1, 2, 0xEE, 2, 7, 0, 0xEE};  // 7 is past the palette
    PixelImage image = Image(3, 2);
    ConvertRows8(rows, 4, palette, 3, image);
    EXPECT_EQ(PixelsOf(image), (std::vector<uint32_t>{0xFF112233, 0xFFFF0000, 0xFF00FF00, 0xFF00FF00,
                                                      0xFF000000, 0xFF112233}));
}

TEST(OsdColourKeyTest, ImageWithoutAlphaHasItsKeyColourMadeTransparent) {
    PixelImage image = Image(3, 1);
    // Magenta, green, magenta-ish, all alpha 0.
    image.pixels[0] = 0x00FF00FF;
    image.pixels[1] = 0x0000FF00;
    image.pixels[2] = 0x00FE00FF;
    ApplyColourKey(image, 0x55FF00FF, 0x20);  // the key's top byte plays no part
    EXPECT_EQ(PixelsOf(image), (std::vector<uint32_t>{0x20FF00FF, 0xFF00FF00, 0xFFFE00FF}));
}

TEST(OsdColourKeyTest, KeyColourIsAColourRef) {
    EXPECT_EQ(KeyPixelOf(0x00332211), 0x00112233u);  // red 0x11 lowest in a COLORREF
    EXPECT_EQ(KeyPixelOf(0xFF0000FF), 0x00FF0000u);
}

TEST(OsdColourKeyTest, ImageWithAlphaOfItsOwnIsLeftAsItIs) {
    PixelImage image = Image(3, 1);
    image.pixels[0] = 0x00FF00FF;
    image.pixels[1] = 0x0100FF00;
    image.pixels[2] = 0x00123456;
    ApplyColourKey(image, 0x00FF00FF, 0);
    EXPECT_EQ(PixelsOf(image), (std::vector<uint32_t>{0x00FF00FF, 0x0100FF00, 0x00123456}));
    // A converted (opaque) image is never keyed.
    PixelImage opaque = Image(1, 1);
    opaque.pixels[0] = 0xFFFF00FF;
    ApplyColourKey(opaque, 0x00FF00FF, 0);
    EXPECT_EQ(opaque.pixels[0], 0xFFFF00FFu);
}

TEST(OsdTextAlphaTest, EachColourGivesItsOwnAlphaInOrderBackgroundTextOutline) {
    PixelImage image = Image(4, 1);
    image.pixels[0] = 0x00FF00FF;  // background (magenta)
    image.pixels[1] = 0x00FFFFFF;  // text (white)
    image.pixels[2] = 0x00000000;  // outline (black)
    image.pixels[3] = 0x00123456;  // none of them
    ApplyTextAlpha(image, 0x00FF00FF, 0xFFFFFFFF, 0x80000000);
    EXPECT_EQ(PixelsOf(image), (std::vector<uint32_t>{0x00FF00FF, 0xFFFFFFFF, 0x80000000, 0xFF123456}));
    // An outline in the background's colour takes the background's alpha.
    image.pixels[2] = 0xFF000000;
    ApplyTextAlpha(image, 0x00000000, 0xFFFFFFFF, 0xFF000000);
    EXPECT_EQ(image.pixels[2], 0x00000000u);
}

TEST(OsdTextCanvasTest, MarginOfTwentyRoundedToTwentyAndTwoAboveAndBelow) {
    EXPECT_EQ(TextCanvasSize(100, 16).width, 140);
    EXPECT_EQ(TextCanvasSize(100, 16).height, 20);
    EXPECT_EQ(TextCanvasSize(120, 16).width, 160);
    EXPECT_EQ(TextCanvasSize(119, 16).width, 140);
    EXPECT_EQ(TextCanvasSize(0, 0).width, 40);
    // Extents at the top of the range stay at the top instead of wrapping.
    EXPECT_EQ(TextCanvasSize(INT32_MAX, INT32_MAX).width, INT32_MAX);
    EXPECT_EQ(TextCanvasSize(INT32_MAX, INT32_MAX).height, INT32_MAX);
    for (int cx = 0; cx < 400; ++cx) {
        const int w = TextCanvasSize(cx, 10).width;
        EXPECT_EQ(w % 20, 0);
        EXPECT_GE(w, cx + 21);
        EXPECT_LE(w, cx + 40);
    }
}

TEST(OsdPlacementTest, StretchKeepsTheCorners) {
    const ImageCorners c = {0.1f, 0.9f, 0.2f, 0.8f};
    const ImageCorners p = PlaceImage(c, 0, 1536, 1152);
    EXPECT_EQ(p.x0, c.x0);
    EXPECT_EQ(p.y0, c.y0);
    EXPECT_EQ(p.x1, c.x1);
    EXPECT_EQ(p.y1, c.y1);
}

TEST(OsdPlacementTest, FixedSizeIsMeasuredOnThe768x576Frame) {
    const ImageCorners c = {0.1f, 0.9f, 0.2f, 0.8f};
    const double W = 1536, H = 1152;
    // 0.1 of 768 = 76.8 pixels and 0.1 of 576 = 57.6 pixels, whatever the viewport.
    for (int anchor : {1, 2, 3, 4, 5, -1}) {
        SCOPED_TRACE(anchor);
        const ImageCorners p = PlaceImage(c, anchor, W, H);
        EXPECT_NEAR((p.x1 - p.x0) * W, 76.8, 1e-3);
        EXPECT_NEAR((p.y0 - p.y1) * H, 57.6, 1e-3);
    }
    const ImageCorners top_left = PlaceImage(c, 1, W, H);
    EXPECT_EQ(top_left.x0, c.x0);
    EXPECT_EQ(top_left.y0, c.y0);
    const ImageCorners bottom_left = PlaceImage(c, 2, W, H);
    EXPECT_EQ(bottom_left.x0, c.x0);
    EXPECT_EQ(bottom_left.y1, c.y1);
    const ImageCorners top_right = PlaceImage(c, 3, W, H);
    EXPECT_EQ(top_right.x1, c.x1);
    EXPECT_EQ(top_right.y0, c.y0);
    const ImageCorners bottom_right = PlaceImage(c, 4, W, H);
    EXPECT_EQ(bottom_right.x1, c.x1);
    EXPECT_EQ(bottom_right.y1, c.y1);
}

TEST(OsdImageSizeTest, RefusedSizes) {
    EXPECT_TRUE(IsAcceptedBitmapSize(1, 1, 8));
    EXPECT_TRUE(IsAcceptedBitmapSize(16384, 32767, 32));
    EXPECT_FALSE(IsAcceptedBitmapSize(0, 1, 32));
    EXPECT_FALSE(IsAcceptedBitmapSize(1, -1, 32));
    EXPECT_FALSE(IsAcceptedBitmapSize(-1, 1, 32));
    EXPECT_FALSE(IsAcceptedBitmapSize(1, 1, 4));
    EXPECT_FALSE(IsAcceptedBitmapSize(65536, 65536, 32));  // 16 GiB of pixels
    EXPECT_FALSE(IsAcceptedBitmapSize(23171, 23171, 32));  // just over 2^31 bytes
    PixelImage image;
    EXPECT_FALSE(image.Allocate(0x40000000, 4));
    EXPECT_FALSE(image.Allocate(0xFFFFFFFF, 0xFFFFFFFF));
    EXPECT_TRUE(image.empty());
}

TEST(OsdHandleTest, HandlesAreNonZeroAndIncreaseAcrossCalls) {
    uintptr_t last = NextOsdHandle();
    EXPECT_NE(last, 0u);
    for (int i = 0; i < 1000; ++i) {
        const uintptr_t next = NextOsdHandle();
        EXPECT_GT(next, last);
        last = next;
    }
}

}  // namespace

// Only tiles holding a pixel with alpha are laid over the picture; a tile
// row's neighbours merge, and the last tiles of an edge are cut short.
TEST(LayerTilesTest, CoveredTilesHoldEveryPixelWithAlphaAndNothingElse) {
    struct Case {
        std::vector<std::pair<int, int>> lit;  // pixels with alpha, (x, y)
        std::vector<PixelRect> want;
    } const cases[] = {
        {{}, {}},
        {{{0, 0}}, {{0, 0, 4, 4}}},
        {{{9, 9}}, {{8, 8, 2, 2}}},                               // the corner tile, cut short
        {{{1, 1}, {5, 2}}, {{0, 0, 8, 4}}},                       // neighbours merge
        {{{1, 1}, {9, 2}}, {{0, 0, 4, 4}, {8, 0, 2, 4}}},         // a gap keeps them apart
        {{{3, 3}, {4, 4}}, {{0, 0, 4, 4}, {4, 4, 4, 4}}},         // across a corner: two rows
    };
    for (const Case& c : cases) {
        std::vector<uint32_t> pixels(100, 0x00FFFFFFu);  // colour without alpha counts as nothing
        for (const auto& p : c.lit) pixels[static_cast<size_t>(p.second) * 10 + p.first] = 0x01000000u;
        const std::vector<PixelRect> got = CoveredTiles(pixels.data(), 10, 10, 4);
        ASSERT_EQ(got.size(), c.want.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].x, c.want[i].x);
            EXPECT_EQ(got[i].y, c.want[i].y);
            EXPECT_EQ(got[i].width, c.want[i].width);
            EXPECT_EQ(got[i].height, c.want[i].height);
        }
    }
}

// A padded canvas filters at the image's edges as a repeating texture of the
// image's own size: past each edge lies the opposite one.
TEST(OsdCanvasTest, PowerOfTwoCanvasWrapsAroundTheImage) {
    struct Case {
        uint32_t w, h, canvas_w, canvas_h;
    } const cases[] = {{3, 1, 8, 1}, {6, 4, 8, 4}, {7, 2, 16, 2}, {1, 5, 1, 8}, {16, 16, 16, 16}};
    for (const Case& c : cases) {
        PixelImage image = Image(c.w, c.h);
        for (uint32_t i = 0; i < c.w * c.h; ++i) image.pixels[i] = 1000 + i;
        uint32_t w = 0, h = 0;
        const std::vector<uint32_t> canvas = PowerOfTwoCanvas(image, w, h);
        ASSERT_EQ(w, c.canvas_w);
        ASSERT_EQ(h, c.canvas_h);
        const auto at = [&](uint32_t x, uint32_t y) { return canvas[static_cast<size_t>(y) * w + x]; };
        const auto pixel = [&](uint32_t x, uint32_t y) { return image.pixels[static_cast<size_t>(y) * c.w + x]; };
        for (uint32_t y = 0; y < c.h; ++y) {
            for (uint32_t x = 0; x < c.w; ++x) EXPECT_EQ(at(x, y), pixel(x, y));
            // Right of the last column the first; left of the first (the
            // canvas's last column) the last.
            EXPECT_EQ(at(c.w % w, y), pixel(0, y));
            EXPECT_EQ(at(w - 1, y), pixel(c.w - 1, y));
        }
        for (uint32_t x = 0; x < c.w; ++x) {
            EXPECT_EQ(at(x, c.h % h), pixel(x, 0));
            EXPECT_EQ(at(x, h - 1), pixel(x, c.h - 1));
        }
    }
}
