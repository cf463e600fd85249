#include <gtest/gtest.h>

#include "view_math.h"

namespace viewer {
namespace {

TEST(ViewerViewMath, CaptionPadsTheClock) {
    EXPECT_EQ(CaptionText("Gate", {2024, 3, 7, 9, 5, 2}), "Gate  2024-03-07 09:05:02");
}

TEST(ViewerViewMath, MouseLinesNameTheMessage) {
    EXPECT_EQ(MouseLine(0x0201, 0.5f, 0.25f, 1), "mouse WM_LBUTTONDOWN x=0.5000 y=0.2500 wParam=0x0001");
    EXPECT_EQ(MouseLine(0x020E, 1.0f, 0.0f, 0x00780000),
              "mouse WM_MOUSEHWHEEL x=1.0000 y=0.0000 wParam=0x780000");
    EXPECT_EQ(MouseLine(0x0210, 0, 0, 0), "mouse 0x0210 x=0.0000 y=0.0000 wParam=0x0000");
}

// The privacy form has y downward; the mask is a normal video rectangle.
TEST(ViewerViewMath, PrivacyMaskFromADragInAnyDirection) {
    const Corners c = PrivacyCorners(7500, 6000, 2500, 1000);
    EXPECT_FLOAT_EQ(c.left, 0.25f);
    EXPECT_FLOAT_EQ(c.right, 0.75f);
    EXPECT_FLOAT_EQ(c.top, 0.9f);
    EXPECT_FLOAT_EQ(c.bottom, 0.4f);
}

TEST(ViewerViewMath, PrivacyMaskDraggedPastTheWindowStopsAtItsEdges) {
    const Corners c = PrivacyCorners(-300, 12000, 5000, 5000);
    EXPECT_FLOAT_EQ(c.left, 0.0f);
    EXPECT_FLOAT_EQ(c.bottom, 0.0f);
    EXPECT_FLOAT_EQ(c.right, 0.5f);
    EXPECT_FLOAT_EQ(c.top, 0.5f);
}

TEST(ViewerViewMath, TextCornersKeepTheCanvasSizeOnTheReferenceFrame) {
    // Extent 100 x 16 gives a 140 x 20 canvas.
    const Corners c = NaturalTextCorners(0.1f, 0.9f, 100, 16);
    EXPECT_FLOAT_EQ((c.right - c.left) * 768, 140);
    EXPECT_FLOAT_EQ((c.top - c.bottom) * 576, 20);
}

TEST(ViewerViewMath, StatsLineInMillisecondsWithTwoDecimals) {
    EXPECT_EQ(StatsText(25, 1204, 3400, 250), "25 fps  draw 1.20 ms mean 3.40 ms worst  250 frames");
    EXPECT_EQ(StatsText(0, 0, 0, 0), "0 fps  draw 0.00 ms mean 0.00 ms worst  0 frames");
}

TEST(ViewerViewMath, FrameRateOverTheSpanBetweenFirstAndLastFrame) {
    EXPECT_DOUBLE_EQ(AverageFrameRate(26, 1000, 2000), 25.0);
    EXPECT_DOUBLE_EQ(AverageFrameRate(1, 1000, 2000), 0.0);
    EXPECT_DOUBLE_EQ(AverageFrameRate(5, 1000, 1000), 0.0);
}

}  // namespace
}  // namespace viewer
