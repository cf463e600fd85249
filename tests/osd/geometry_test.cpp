// The geometric overlays read back from the window: where the normalized
// coordinates put them, how their colours blend, dash patterns, and the
// pixel sizes of circles and ellipses.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>

#include "osd_view.h"

using namespace noxd_osd_test;

namespace {

TEST(OsdRectangleTest, FilledWhereTheCornersSayWithYUp) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR slot = 0;
    // The upper-left quarter of the view: x 0.1..0.4, y 0.6..0.9 (top).
    ASSERT_EQ(noxd_add_osd_rectangle(v.get(), &slot, 0.1f, 0.6f, 0.4f, 0.9f, 1, kOsdRed, 0, 1), S_OK);
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, v.Column(0.25), v.Row(0.75), kRed));
    EXPECT_TRUE(Shows(shot, v.Column(0.1) + 2, v.Row(0.9) + 2, kRed));
    EXPECT_TRUE(Shows(shot, v.Column(0.4) - 2, v.Row(0.6) - 2, kRed));
    EXPECT_TRUE(Shows(shot, v.Column(0.1) - 2, v.Row(0.75), kGrey));
    EXPECT_TRUE(Shows(shot, v.Column(0.4) + 2, v.Row(0.75), kGrey));
    EXPECT_TRUE(Shows(shot, v.Column(0.25), v.Row(0.9) - 2, kGrey));
    EXPECT_TRUE(Shows(shot, v.Column(0.25), v.Row(0.6) + 2, kGrey));
    EXPECT_TRUE(Shows(shot, v.Column(0.25), v.Row(0.25), kGrey));  // not mirrored to the bottom
}

TEST(OsdRectangleTest, OutlineDrawsOnlyTheEdges) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR slot = 0;
    ASSERT_EQ(noxd_add_osd_rectangle(v.get(), &slot, 0.25f, 0.75f, 0.75f, 0.25f, 3, kOsdGreen, 0, 0), S_OK);
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 100, 150, kGreen));  // left edge
    EXPECT_TRUE(Shows(shot, 300, 150, kGreen));  // right edge
    EXPECT_TRUE(Shows(shot, 200, 75, kGreen));   // top edge
    EXPECT_TRUE(Shows(shot, 200, 225, kGreen));  // bottom edge
    EXPECT_TRUE(Shows(shot, 200, 150, kGrey));
    EXPECT_TRUE(Shows(shot, 105, 150, kGrey));
}

TEST(OsdRectangleTest, ZeroWidthFilledDrawsNothingButItsOutlineIsALine) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR filled = 0, outline = 0;
    ASSERT_EQ(noxd_add_osd_rectangle(v.get(), &filled, 0.25f, 0.9f, 0.25f, 0.1f, 3, kOsdRed, 0, 1), S_OK);
    ASSERT_EQ(noxd_add_osd_rectangle(v.get(), &outline, 0.75f, 0.9f, 0.75f, 0.1f, 3, kOsdRed, 0, 0), S_OK);
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 100, 150, kGrey));
    EXPECT_TRUE(Shows(shot, 300, 150, kRed));
}

TEST(OsdColourTest, AlphaZeroAndFullAreOpaqueHalfIsBlendedAndBlendingEndsWithTheObject) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR a = 0, b = 0, c = 0;
    ASSERT_EQ(noxd_add_osd_rectangle(v.get(), &a, 0.0f, 1.0f, 0.3f, 0.0f, 1, 0x000000FF, 0, 1), S_OK);
    ASSERT_EQ(noxd_add_osd_rectangle(v.get(), &b, 0.35f, 1.0f, 0.65f, 0.0f, 1, 0xFF0000FF, 0, 1), S_OK);
    ASSERT_EQ(noxd_add_osd_rectangle(v.get(), &c, 0.7f, 1.0f, 1.0f, 0.0f, 1, 0x800000FF, 0, 1), S_OK);
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 60, 150, kRed, 2));
    EXPECT_TRUE(Shows(shot, 200, 150, kRed, 2));
    EXPECT_TRUE(Shows(shot, 340, 150, HalfRedOverGrey(), 3));
    // The frame leaves GL on this thread: no blending, stipple or smoothing
    // is left switched on after the half-transparent overlay.
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
    EXPECT_FALSE(glIsEnabled(GL_POINT_SMOOTH));
}

// Dashed lines: bit 0 of the pattern first, each bit two pixels long.
TEST(OsdDashTest, DefaultPatternRepeatsEvery32PixelsFromTheFirstVertex) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR slot = 0;
    // From x = 40 to x = 360 along a pixel row's centre line.
    const float y = 1.0f - 150.5f / 300.0f;
    ASSERT_EQ(noxd_add_osd_line(v.get(), &slot, 0.1f, y, 0.9f, y, 1, kOsdGreen, 1), S_OK);
    const Capture shot = v.Draw();
    // 6 off, 14 on, 6 off, 6 on; the middle of each run, clear of its ends.
    struct Run {
        int from, to;
        bool on;
    };
    const Run runs[] = {{1, 4, false}, {8, 17, true}, {21, 24, false}, {27, 30, true}};
    for (int period = 0; period < 4; ++period) {
        for (const Run& run : runs) {
            for (int offset = run.from; offset <= run.to; ++offset) {
                const int x = 40 + 32 * period + offset;
                EXPECT_TRUE(Shows(shot, x, 150, run.on ? kGreen : kGrey, 2));
            }
        }
    }
}

TEST(OsdDashTest, DashedRectangleAndTriangleOutlinesHaveGaps) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR rect = 0, tri = 0;
    ASSERT_EQ(noxd_add_osd_rectangle(v.get(), &rect, 0.1f, 0.9f, 0.9f, 0.55f, 3, kOsdGreen, 1, 0), S_OK);
    ASSERT_EQ(noxd_add_osd_triangle(v.get(), &tri, 0.1f, 0.1f, 0.9f, 0.1f, 0.5f, 0.45f, 3, kOsdGreen, 1, 0),
              S_OK);
    const Capture shot = v.Draw();
    int rect_on = 0, tri_on = 0;
    for (int x = 60; x < 340; ++x) {
        rect_on += shot.At(x, v.Row(0.9)).g > 200;
        tri_on += shot.At(x, v.Row(0.1) - 1).g > 200;
    }
    // 20 of every 32 pixels.
    EXPECT_NEAR(rect_on, 280 * 20 / 32, 20);
    EXPECT_NEAR(tri_on, 280 * 20 / 32, 20);
}

TEST(OsdCircleTest, RadiusIsAFractionOfTheViewportHeight) {
    OsdView v(480, 300);  // wider than high
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR slot = 0;
    ASSERT_EQ(noxd_add_osd_circle(v.get(), &slot, 0.5f, 0.5f, 0.25f, 1, kOsdRed, 0, 1), S_OK);
    const Capture shot = v.Draw();
    // 0.25 x 300 = 75 pixels across and down alike.
    EXPECT_TRUE(Shows(shot, 240 + 70, 150, kRed));
    EXPECT_TRUE(Shows(shot, 240 + 80, 150, kGrey));
    EXPECT_TRUE(Shows(shot, 240 - 70, 150, kRed));
    EXPECT_TRUE(Shows(shot, 240 - 80, 150, kGrey));
    EXPECT_TRUE(Shows(shot, 240, 150 - 70, kRed));
    EXPECT_TRUE(Shows(shot, 240, 150 - 80, kGrey));
    EXPECT_TRUE(Shows(shot, 240 + 50, 150 + 50, kRed));  // 70.7 from the centre
    EXPECT_TRUE(Shows(shot, 240 + 56, 150 + 56, kGrey));  // 79.2
}

TEST(OsdCircleTest, OutlineAndNonPositiveRadius) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR ring = 0, none = 0;
    ASSERT_EQ(noxd_add_osd_circle(v.get(), &ring, 0.5f, 0.5f, 0.3f, 3, kOsdGreen, 0, 0), S_OK);
    ASSERT_EQ(noxd_add_osd_circle(v.get(), &none, 0.5f, 0.5f, -0.2f, 3, kOsdRed, 0, 1), S_OK);
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 200 + 90, 150, kGreen, 40));  // 0.3 x 300 on the rim
    EXPECT_TRUE(Shows(shot, 200, 150, kGrey));            // hollow, and no red disc
    EXPECT_TRUE(Shows(shot, 200 + 40, 150, kGrey));
}

TEST(OsdEllipseTest, RotatedEllipseInPixels) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR slot = 0;
    // Radii 100 and 30 pixels, turned by 1 radian anticlockwise (y up).
    ASSERT_EQ(noxd_add_osd_circle2(v.get(), &slot, 0.5f, 0.5f, 100, 30, 1, 3, kOsdGreen, 0, 1), S_OK);
    const Capture shot = v.Draw();
    const double c = std::cos(1.0), s = std::sin(1.0);
    // The ends of the long axis and of the short axis.
    const int ax = static_cast<int>(std::lround(200 + 100 * c)), ay = static_cast<int>(std::lround(150 - 100 * s));
    const int bx = static_cast<int>(std::lround(200 - 30 * s)), by = static_cast<int>(std::lround(150 - 30 * c));
    EXPECT_TRUE(Shows(shot, ax, ay, kGreen, 60));
    EXPECT_TRUE(Shows(shot, 400 - ax, 300 - ay, kGreen, 60));
    EXPECT_TRUE(Shows(shot, bx, by, kGreen, 60));
    // Not filled, and not where the unturned ellipse would be.
    EXPECT_TRUE(Shows(shot, 200, 150, kGrey));
    EXPECT_TRUE(Shows(shot, 300, 150, kGrey));
    EXPECT_TRUE(Shows(shot, 200 + 90, 150, kGrey));
}

TEST(OsdEllipseTest, RadiiAreNotScaledByTheViewport) {
    OsdView v(600, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR slot = 0;
    ASSERT_EQ(noxd_add_osd_circle2(v.get(), &slot, 0.5f, 0.5f, 100, 50, 0, 3, kOsdGreen, 0, 0), S_OK);
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 300 + 100, 150, kGreen, 60));
    EXPECT_TRUE(Shows(shot, 300 - 100, 150, kGreen, 60));
    EXPECT_TRUE(Shows(shot, 300, 150 - 50, kGreen, 60));
    EXPECT_TRUE(Shows(shot, 300, 150 + 50, kGreen, 60));
    EXPECT_TRUE(Shows(shot, 300 + 110, 150, kGrey));
    EXPECT_TRUE(Shows(shot, 300, 150 - 60, kGrey));
}

TEST(OsdTriangleTest, FilledAndOutlined) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR filled = 0, outline = 0;
    ASSERT_EQ(noxd_add_osd_triangle(v.get(), &filled, 0.05f, 0.1f, 0.45f, 0.1f, 0.25f, 0.9f, 1, kOsdRed, 0, 1),
              S_OK);
    ASSERT_EQ(noxd_add_osd_triangle(v.get(), &outline, 0.55f, 0.1f, 0.95f, 0.1f, 0.75f, 0.9f, 3, kOsdGreen, 0, 0),
              S_OK);
    const Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, v.Column(0.25), v.Row(0.35), kRed));
    EXPECT_TRUE(Shows(shot, v.Column(0.08), v.Row(0.8), kGrey));  // beside the apex
    EXPECT_TRUE(Shows(shot, v.Column(0.75), v.Row(0.35), kGrey));  // hollow
    EXPECT_TRUE(Shows(shot, v.Column(0.75), v.Row(0.1), kGreen));   // its base
    // Line polygon mode is undone: a filled rectangle after it is solid.
    UINT_PTR after = 0;
    ASSERT_EQ(noxd_add_osd_rectangle(v.get(), &after, 0.6f, 0.98f, 0.9f, 0.92f, 1, kOsdBlue, 0, 1), S_OK);
    EXPECT_TRUE(Shows(v.Draw(), v.Column(0.75), v.Row(0.95), kBlue));
}

TEST(OsdLineAndPointTest, SolidLineAndRoundPoint) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR line = 0, point = 0;
    ASSERT_EQ(noxd_add_osd_line(v.get(), &line, 0.1f, 0.1f, 0.9f, 0.9f, 3, kOsdGreen, 0), S_OK);
    ASSERT_EQ(noxd_add_osd_point(v.get(), &point, 0.25f, 0.75f, 12, kOsdRed), S_OK);
    const Capture shot = v.Draw();
    for (double t : {0.2, 0.5, 0.8}) EXPECT_TRUE(Shows(shot, v.Column(t), v.Row(t), kGreen, 30));
    EXPECT_TRUE(Shows(shot, v.Column(0.5) + 10, v.Row(0.5), kGrey));
    EXPECT_TRUE(Shows(shot, 100, 75, kRed));
    EXPECT_TRUE(Shows(shot, 103, 72, kRed));
    EXPECT_TRUE(Shows(shot, 100 + 10, 75, kGrey));
}

}  // namespace
