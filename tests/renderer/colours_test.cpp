// Frames of every format shown on a real window: colours by the BT.601
// formula, pictures upright, rows padded, planes found at their offsets.
#include <gtest/gtest.h>

#include "support/frames.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {

constexpr int kTolerance = 4;

// Picks a pixel in the middle of the cell a test painted, away from filtered edges.
Rgb Centre(const Capture& c) { return c.At(c.width() / 2, c.height() / 2); }

struct YuvCase {
    int format;
    Yuv yuv;
};

class YuvColourTest : public ::testing::TestWithParam<YuvCase> {};

TEST_P(YuvColourTest, SolidFrameShowsBt601Colour) {
    const YuvCase c = GetParam();
    ScopedRenderer r(c.format, 64, 48, 128, 96);
    ASSERT_EQ(r.status(), S_OK);
    const Capture shot = r.DrawAndCapture(YuvFrame(c.format, 64, 48, [&](int, int) { return c.yuv; }));
    const Rgb want = ExpectedRgb(c.yuv);
    const Rgb got = Centre(shot);
    EXPECT_TRUE(Near(got, want, kTolerance))
        << "got " << got.r << "," << got.g << "," << got.b << " want " << want.r << ","
        << want.g << "," << want.b;
    EXPECT_TRUE(Near(shot.At(0, 0), want, kTolerance));
    EXPECT_TRUE(Near(shot.At(127, 95), want, kTolerance));
}

// Black, white (clamped), mid grey, and colours that exercise each chroma
// term, including values beyond the range the colour buffer clamps.
INSTANTIATE_TEST_SUITE_P(
    AllYuvFormats, YuvColourTest,
    ::testing::Values(YuvCase{8, {16, 128, 128}}, YuvCase{8, {255, 128, 128}},
                      YuvCase{8, {81, 90, 240}}, YuvCase{8, {145, 54, 34}},
                      YuvCase{8, {41, 240, 110}}, YuvCase{9, {126, 128, 128}},
                      YuvCase{9, {81, 90, 240}}, YuvCase{9, {145, 54, 34}},
                      YuvCase{12, {200, 128, 128}}, YuvCase{12, {81, 90, 240}},
                      YuvCase{12, {41, 240, 110}}, YuvCase{12, {110, 200, 60}}));

struct BgrCase {
    int format;
    Bgr bgr;
};

class BgrColourTest : public ::testing::TestWithParam<BgrCase> {};

TEST_P(BgrColourTest, SolidFrameShowsItsColour) {
    const BgrCase c = GetParam();
    ScopedRenderer r(c.format, 64, 48, 128, 96);
    ASSERT_EQ(r.status(), S_OK);
    const Capture shot = r.DrawAndCapture(BgrFrame(c.format, 64, 48, [&](int, int) { return c.bgr; }));
    EXPECT_TRUE(Near(Centre(shot), Rgb{c.bgr.r, c.bgr.g, c.bgr.b}, 1));
}

INSTANTIATE_TEST_SUITE_P(BothBgrFormats, BgrColourTest,
                         ::testing::Values(BgrCase{10, {0x10, 0x80, 0xF0}},
                                           BgrCase{10, {0xFF, 0x00, 0x40}},
                                           BgrCase{11, {0x10, 0x80, 0xF0}},
                                           BgrCase{11, {0x33, 0xCC, 0x00}}));

// One bright stored row over a dark picture: YUV frames store the top row
// first, BGR frames the bottom row first.
class OrientationTest : public ::testing::TestWithParam<int> {};

TEST_P(OrientationTest, FirstStoredRowLandsOnTheRightEdge) {
    const int format = GetParam();
    const int w = 32, h = 32;
    ScopedRenderer r(format, w, h, 128, 128);
    ASSERT_EQ(r.status(), S_OK);
    // The first eight stored rows are bright so the edge band survives filtering.
    std::vector<uint8_t> frame;
    if (format == 10 || format == 11)
        frame = BgrFrame(format, w, h, [](int, int row) {
            return row < 8 ? Bgr{255, 255, 255} : Bgr{0, 0, 0};
        });
    else
        frame = YuvFrame(format, w, h, [](int, int row) {
            return row < 8 ? Yuv{235, 128, 128} : Yuv{16, 128, 128};
        });
    const Capture shot = r.DrawAndCapture(frame);
    const bool bottom_up = format == 10 || format == 11;
    const Rgb top = shot.At(64, 4);
    const Rgb bottom = shot.At(64, 123);
    const Rgb bright = bottom_up ? bottom : top;
    const Rgb dark = bottom_up ? top : bottom;
    EXPECT_GT(bright.g, 230);
    EXPECT_LT(dark.g, 25);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, OrientationTest, ::testing::Values(8, 9, 10, 11, 12));

TEST(PackedYuvTest, EachPixelShowsItsOwnLumaWithThePairsChroma) {
    // Dark even columns, bright odd columns, one chroma per pair: a 1:1
    // picture shows the stripes, in the same colours for UYVY and YUY2.
    for (int format : {9, 12}) {
        SCOPED_TRACE(format);
        ScopedRenderer r(format, 256, 32, 256, 32);
        ASSERT_EQ(r.status(), S_OK);
        ASSERT_EQ(Capture::OfClient(r.window()).width(), 256);
        const Yuv even = {60, 100, 170}, odd = {200, 100, 170};
        const Capture shot = r.DrawAndCapture(
            YuvFrame(format, 256, 32, [&](int x, int) { return x % 2 ? odd : even; }));
        // Shown 1:1, each pixel samples its own luma texel at its centre.
        EXPECT_TRUE(Near(shot.At(20, 8), ExpectedRgb(even), kTolerance + 2));
        EXPECT_TRUE(Near(shot.At(21, 8), ExpectedRgb(odd), kTolerance + 2));
    }
}

TEST(RowPaddingTest, Bgr24FrameOfWidthFiveShowsEveryColumn) {
    // 15 data bytes and 1 padding byte per row; a skew would shift colours
    // between columns from the second row on.
    const Bgr columns[5] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}, {0, 255, 255}};
    ScopedRenderer r(11, 5, 4, 200, 160);
    ASSERT_EQ(r.status(), S_OK);
    const Capture shot = r.DrawAndCapture(BgrFrame(11, 5, 4, [&](int x, int) { return columns[x]; }));
    for (int x = 0; x < 5; ++x)
        for (int y : {20, 60, 100, 140}) {
            const Bgr c = columns[x];
            // Filtering blends a few percent of the neighbour in; a skewed
            // row would show another column's colour entirely.
            EXPECT_TRUE(Near(shot.At(x * 40 + 20, y), Rgb{c.r, c.g, c.b}, 16))
                << "column " << x << " row " << y;
        }
}

TEST(PlanarOffsetsTest, Cif420FrameUsesItsUAndVPlanes) {
    // 352x288: U at 101376, V at 126720. Left half red-ish, right half blue-ish
    // chroma, so a wrong plane offset shows the wrong hue.
    const Yuv left = {81, 90, 240}, right = {41, 240, 110};
    ScopedRenderer r(8, 352, 288, 352, 288);
    ASSERT_EQ(r.status(), S_OK);
    const std::vector<uint8_t> frame =
        YuvFrame(8, 352, 288, [&](int x, int) { return x < 176 ? left : right; });
    ASSERT_EQ(frame.size(), 152064u);
    ASSERT_EQ(frame[101376], 90);
    ASSERT_EQ(frame[126720], 240);
    const Capture shot = r.DrawAndCapture(frame);
    EXPECT_TRUE(Near(shot.At(80, 144), ExpectedRgb(left), kTolerance));
    EXPECT_TRUE(Near(shot.At(270, 144), ExpectedRgb(right), kTolerance));
    EXPECT_TRUE(Near(shot.At(80, 280), ExpectedRgb(left), kTolerance));
}

}  // namespace
