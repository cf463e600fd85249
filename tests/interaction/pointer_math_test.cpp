#include <gtest/gtest.h>

#include "math/pointer_math.h"

using namespace noxd;

TEST(NormalizedPointTest, VideoPositionWithBorders) {
    const VideoPos centred = {0.25f, 0.75f, 0.75f, 0.25f};
    PointF p = NormalizedVideoPoint(200, 150, 400, 300, centred);
    EXPECT_FLOAT_EQ(p.x, 0.5f);
    EXPECT_FLOAT_EQ(p.y, 0.5f);
    p = NormalizedVideoPoint(100, 75, 400, 300, centred);
    EXPECT_FLOAT_EQ(p.x, 0.0f);
    EXPECT_FLOAT_EQ(p.y, 1.0f);
    p = NormalizedVideoPoint(300, 225, 400, 300, centred);
    EXPECT_FLOAT_EQ(p.x, 1.0f);
    EXPECT_FLOAT_EQ(p.y, 0.0f);
    // Above and left of the video area.
    p = NormalizedVideoPoint(50, 10, 400, 300, centred);
    EXPECT_LT(p.x, 0.0f);
    EXPECT_GT(p.y, 1.0f);
}

TEST(NormalizedPointTest, ZeroDivisorsCountAsOne) {
    const VideoPos empty = {0.5f, 0.5f, 0.5f, 0.5f};
    const PointF p = NormalizedVideoPoint(10, 20, 0, 0, empty);
    EXPECT_FLOAT_EQ(p.x, 10.0f - 0.5f);
    EXPECT_FLOAT_EQ(p.y, 1.0f - 20.0f + 0.5f);
}

TEST(PermyriadPointTest, LastColumnIsExactlyTenThousandLastRowIsNot) {
    PointF p = PermyriadClientPoint(639, 479, 640, 480);
    EXPECT_EQ(p.x, 10000.0f);
    EXPECT_EQ(p.y, 9979.0f);
    p = PermyriadClientPoint(320, 240, 640, 480);
    EXPECT_EQ(p.x, 5000.0f);
    EXPECT_EQ(p.y, 5000.0f);
}

TEST(PermyriadPointTest, ZeroSizedAxisReportsZero) {
    const PointF p = PermyriadClientPoint(5, 7, 0, 0);
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    EXPECT_EQ(PermyriadClientPoint(5, 7, 100, 0).x, 500.0f);
}

TEST(RectTest, SortedAndClamped) {
    // A drag from (300, 200) to (100, 50) in 400x300.
    const VideoPos whole = {0, 1, 1, 0};
    const RectF r = SortedRect(NormalizedVideoPoint(300, 200, 400, 300, whole),
                               NormalizedVideoPoint(100, 50, 400, 300, whole));
    EXPECT_FLOAT_EQ(r.left, 0.25f);
    EXPECT_NEAR(r.top, 0.8333f, 1e-4);
    EXPECT_FLOAT_EQ(r.right, 0.75f);
    EXPECT_NEAR(r.bottom, 0.3333f, 1e-4);

    const RectF c = ClampedToUnit({-0.2f, 1.3f, 1.1f, 0.5f});
    EXPECT_EQ(c.left, 0.0f);
    EXPECT_EQ(c.top, 1.0f);
    EXPECT_EQ(c.right, 1.0f);
    EXPECT_EQ(c.bottom, 0.5f);
}

TEST(HostZoomTest, WholePictureWithinOneThousandth) {
    EXPECT_TRUE(IsWholePicture(0, 1, 1, 0));
    EXPECT_TRUE(IsWholePicture(0.0005f, 1, 1, 0));
    EXPECT_FALSE(IsWholePicture(0.002f, 1, 1, 0));
    EXPECT_FALSE(IsWholePicture(0.75f, 0.25f, 0.25f, 0.75f));
}

TEST(ZoomTexCoordsTest, TopLeftQuarterForBothRowOrders) {
    const RectF quarter = {0.0f, 1.0f, 0.5f, 0.5f};
    float t[4][2];
    ZoomTexCoords(true, quarter, t);
    // Bottom-up rows: t grows upward with the picture.
    EXPECT_EQ(t[0][0], 0.0f); EXPECT_EQ(t[0][1], 0.5f);
    EXPECT_EQ(t[1][0], 0.5f); EXPECT_EQ(t[1][1], 0.5f);
    EXPECT_EQ(t[2][0], 0.5f); EXPECT_EQ(t[2][1], 1.0f);
    EXPECT_EQ(t[3][0], 0.0f); EXPECT_EQ(t[3][1], 1.0f);
    ZoomTexCoords(false, quarter, t);
    // Top-down rows: the top of the picture is t = 0.
    EXPECT_EQ(t[0][1], 0.0f);
    EXPECT_EQ(t[2][1], 0.5f);
    EXPECT_EQ(t[2][0], 0.5f);
}
