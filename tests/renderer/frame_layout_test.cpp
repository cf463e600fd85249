#include <gtest/gtest.h>

#include "math/frame_layout.h"

using namespace noxd;

TEST(FormatClassTest, FiveCodesMapToTheirClassesAndNothingElse) {
    EXPECT_EQ(FormatClassOf(11), FormatClass::Bgr24);
    EXPECT_EQ(FormatClassOf(10), FormatClass::Bgr32);
    EXPECT_EQ(FormatClassOf(12), FormatClass::Yuy2);
    EXPECT_EQ(FormatClassOf(8), FormatClass::I420);
    EXPECT_EQ(FormatClassOf(9), FormatClass::Uyvy);
    for (int bad : {7, 13, 0, -8, 33})
        EXPECT_FALSE(FormatClassOf(bad).has_value()) << bad;
}

TEST(FrameLayoutTest, CifI420PlanesAndSize) {
    const PlaneOffsets p = I420PlaneOffsets(352, 288);
    EXPECT_EQ(p.u, 101376);
    EXPECT_EQ(p.v, 126720);
    EXPECT_EQ(FrameBytes(FormatClass::I420, 352, 288), 152064u);
}

TEST(FrameLayoutTest, OddSizedI420KeepsUnpaddedPlaneOffsets) {
    // 5*w*h/4 truncates: 7x5 gives V at 43, U at 35.
    const PlaneOffsets p = I420PlaneOffsets(7, 5);
    EXPECT_EQ(p.u, 35);
    EXPECT_EQ(p.v, 43);
}

TEST(FrameLayoutTest, RowsArePaddedToFourBytes) {
    // A 24-bit row of width 5 is 15 bytes of data and 1 of padding.
    EXPECT_EQ(AlignedRowBytes(15), 16u);
    EXPECT_EQ(FrameBytes(FormatClass::Bgr24, 5, 4), 16u * 3 + 15);
    // Widths that are a multiple of 8 leave every layout packed.
    EXPECT_EQ(FrameBytes(FormatClass::Bgr24, 8, 2), 48u);
    EXPECT_EQ(FrameBytes(FormatClass::Bgr32, 8, 2), 64u);
    EXPECT_EQ(FrameBytes(FormatClass::Yuy2, 8, 2), 32u);
    EXPECT_EQ(FrameBytes(FormatClass::Uyvy, 8, 2), 32u);
    EXPECT_EQ(FrameBytes(FormatClass::I420, 8, 2), 24u);
}

TEST(TexturePlanTest, UnitsSizesAndOrderPerClass) {
    const PlaneOffsets p = I420PlaneOffsets(64, 48);
    const TexturePlan i420 = TexturePlanFor(FormatClass::I420, 64, 48, p);
    ASSERT_EQ(i420.count, 3);
    EXPECT_EQ(i420.uploads[0].unit, 2);
    EXPECT_EQ(i420.uploads[0].offset, static_cast<size_t>(p.v));
    EXPECT_EQ(i420.uploads[1].unit, 1);
    EXPECT_EQ(i420.uploads[1].offset, static_cast<size_t>(p.u));
    EXPECT_EQ(i420.uploads[1].width, 32);
    EXPECT_EQ(i420.uploads[1].height, 24);
    EXPECT_EQ(i420.uploads[2].unit, 0);
    EXPECT_EQ(i420.uploads[2].width, 64);

    const TexturePlan packed = TexturePlanFor(FormatClass::Uyvy, 64, 48, p);
    ASSERT_EQ(packed.count, 2);
    EXPECT_EQ(packed.uploads[0].unit, 1);
    EXPECT_EQ(packed.uploads[0].width, 32);
    EXPECT_EQ(packed.uploads[0].height, 48);
    EXPECT_EQ(packed.uploads[0].layout, TexelLayout::RgbaFromBgra);
    EXPECT_EQ(packed.uploads[1].unit, 0);
    EXPECT_EQ(packed.uploads[1].layout, TexelLayout::LuminanceAlpha);

    const TexturePlan bgr = TexturePlanFor(FormatClass::Bgr32, 64, 48, p);
    ASSERT_EQ(bgr.count, 1);
    EXPECT_EQ(bgr.uploads[0].layout, TexelLayout::RgbFromBgra);
}

TEST(ViewportMathTest, VideoPositionToGlViewport) {
    const Viewport whole = ViewportFromVideoPos(0, 1, 1, 0, 800, 600);
    EXPECT_EQ(whole.x, 0);
    EXPECT_EQ(whole.y, 0);
    EXPECT_EQ(whole.width, 800);
    EXPECT_EQ(whole.height, 600);

    const Viewport centred = ViewportFromVideoPos(0.25f, 0.75f, 0.75f, 0.25f, 800, 600);
    EXPECT_EQ(centred.x, 200);
    EXPECT_EQ(centred.y, 150);
    EXPECT_EQ(centred.width, 400);
    EXPECT_EQ(centred.height, 300);

    // GL counts rows from the bottom: a band at the top of the client area.
    const Viewport top_band = ViewportFromVideoPos(0, 0.25f, 1, 0, 400, 400);
    EXPECT_EQ(top_band.y, 300);
    EXPECT_EQ(top_band.height, 100);

    // Fractions truncate toward zero.
    const Viewport third = ViewportFromVideoPos(0.333f, 1, 1, 0, 100, 100);
    EXPECT_EQ(third.x, 33);
    EXPECT_EQ(third.width, 66);
}

// Only a viewport that leaves no client pixel uncovered spares the clear.
TEST(ViewportMathTest, CoversClientOnlyWhenNoPixelIsLeftOut) {
    struct Case {
        float left, bottom, right, top;
        bool covers;
    } const cases[] = {
        {0, 1, 1, 0, true},             // the whole client area
        {-0.5f, 1.5f, 1.5f, -0.5f, true},  // larger than it on every side
        {0, 1, 0.999f, 0, false},       // one column short on the right
        {0.001f, 1, 1, 0, false},       // one column short on the left
        {0, 1, 1, 0.01f, false},        // a row short at the top
        {0, 0.99f, 1, 0, false},        // a row short at the bottom
        {0.25f, 0.75f, 0.75f, 0.25f, false},
    };
    for (const Case& c : cases) {
        const Viewport v = ViewportFromVideoPos(c.left, c.bottom, c.right, c.top, 800, 600);
        EXPECT_EQ(CoversClient(v, 800, 600), c.covers)
            << c.left << " " << c.bottom << " " << c.right << " " << c.top;
    }
}

TEST(VideoQuadTest, TopFirstRowsAreFlippedOntoTheQuad) {
    for (FormatClass cls : {FormatClass::Bgr24, FormatClass::Bgr32}) {
        const VideoQuad q = UprightVideoQuad(cls);
        EXPECT_EQ(q.vertex[0][1], -1.0f);  // texture row 0 at the bottom
        EXPECT_EQ(q.vertex[2][1], 1.0f);
    }
    for (FormatClass cls : {FormatClass::Yuy2, FormatClass::I420, FormatClass::Uyvy}) {
        const VideoQuad q = UprightVideoQuad(cls);
        EXPECT_EQ(q.tex[0][1], 0.0f);
        EXPECT_EQ(q.vertex[0][1], 1.0f);  // texture row 0 at the top
        EXPECT_EQ(q.vertex[2][1], -1.0f);
        EXPECT_EQ(q.vertex[1][0], 1.0f);
    }
}
