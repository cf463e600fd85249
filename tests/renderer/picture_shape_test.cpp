#include <gtest/gtest.h>

#include "math/picture_shape.h"

using namespace noxd;

namespace {

void ExpectRect(const PictureRect& r, double x, double y, double w, double h) {
    EXPECT_NEAR(r.x, x, 1e-9);
    EXPECT_NEAR(r.y, y, 1e-9);
    EXPECT_NEAR(r.width, w, 1e-9);
    EXPECT_NEAR(r.height, h, 1e-9);
}

}  // namespace

TEST(PictureRectTest, FitFillSampleAspectAndTurn) {
    const Orientation upright = {}, turned = {1, false};
    // 4:3 in 16:9: bars left and right, or cropped top and bottom.
    ExpectRect(PictureRectIn(1600, 900, 640, 480, AspectMode::Fit, {}, upright), 0.125, 0, 0.75, 1);
    ExpectRect(PictureRectIn(1600, 900, 640, 480, AspectMode::Fill, {}, upright), 0, -1.0 / 6, 1, 4.0 / 3);
    // PAL D1 with pixels of 12:11 is 4:3 on screen.
    ExpectRect(PictureRectIn(800, 600, 704, 576, AspectMode::Fit, {12, 11}, upright), 0, 0, 1, 1);
    ExpectRect(PictureRectIn(800, 600, 704, 576, AspectMode::Fit, {0, 11}, upright), 1.0 / 24, 0, 11.0 / 12, 1);
    // Turned a quarter, 640x480 stands 480 wide and 640 high.
    ExpectRect(PictureRectIn(1600, 900, 640, 480, AspectMode::Fit, {}, turned), 0.2890625, 0, 0.421875, 1);
    // Stretch ignores all of it; so does an empty area or frame.
    ExpectRect(PictureRectIn(1600, 900, 640, 480, AspectMode::Stretch, {12, 11}, turned), 0, 0, 1, 1);
    ExpectRect(PictureRectIn(0, 900, 640, 480, AspectMode::Fit, {}, upright), 0, 0, 1, 1);
    EXPECT_TRUE(CoversArea(PictureRectIn(1600, 900, 640, 480, AspectMode::Fill, {}, upright)));
    EXPECT_FALSE(CoversArea(PictureRectIn(1600, 900, 640, 480, AspectMode::Fit, {}, upright)));
}

// Where the frame's top-left corner lands, mirror first, then the turn; and
// every orientation undone gives the point back.
TEST(OrientationTest, CornersLandAndComeBack) {
    struct Case {
        int degrees, mirror;
        PointF top_left_lands;
    } const cases[] = {
        {0, 0, {0, 1}}, {90, 0, {1, 1}}, {180, 0, {1, 0}}, {270, 0, {0, 0}},
        {0, 1, {1, 1}}, {90, 1, {1, 0}}, {180, 1, {0, 0}}, {270, 1, {0, 1}},
    };
    for (const Case& c : cases) {
        const Orientation o = *OrientationOf(c.degrees, c.mirror);
        const PointF landed = ShownFromUpright(o, {0, 1});
        EXPECT_EQ(landed.x, c.top_left_lands.x) << c.degrees << " " << c.mirror;
        EXPECT_EQ(landed.y, c.top_left_lands.y) << c.degrees << " " << c.mirror;
        const PointF inner = UprightFromShown(o, ShownFromUpright(o, {0.25f, 0.125f}));
        EXPECT_FLOAT_EQ(inner.x, 0.25f);
        EXPECT_FLOAT_EQ(inner.y, 0.125f);
    }
    for (int bad_degrees : {-90, 45, 360, 1}) EXPECT_FALSE(OrientationOf(bad_degrees, 0)) << bad_degrees;
    EXPECT_FALSE(OrientationOf(90, 2));
    EXPECT_FALSE(AspectModeOf(3));
    EXPECT_FALSE(AspectModeOf(-1));
}

TEST(CoordinateChainTest, IdentityInStretchAndLinearIntoTheBars) {
    for (float x : {0.0f, 0.1f, 0.3333333f, 1.0f, -0.25f, 1.7f})
        for (float y : {0.0f, 0.77f, 1.0f / 3.0f}) {
            const PointF p = PicturePointOf({x, y}, PictureRect{}, Orientation{});
            EXPECT_EQ(p.x, x);
            EXPECT_EQ(p.y, y);
        }
    // 4:3 in 16:9, fitted: the bars run from x -1/6 at the area's left edge.
    const PictureRect fit = PictureRectIn(1600, 900, 640, 480, AspectMode::Fit, {}, Orientation{});
    EXPECT_NEAR(PicturePointOf({0, 0.5f}, fit, {}).x, -1.0 / 6, 1e-6);
    EXPECT_NEAR(PicturePointOf({0.125f, 0.5f}, fit, {}).x, 0, 1e-6);
    // Turned clockwise, the shown top-right corner is the frame's top-left.
    const PointF corner = PicturePointOf({1, 1}, PictureRect{}, Orientation{1, false});
    EXPECT_FLOAT_EQ(corner.x, 0);
    EXPECT_FLOAT_EQ(corner.y, 1);
}

TEST(ShapedQuadTest, TurnedQuadShowsTheFramesCornersWhereTheyLand) {
    // Textures holding the top row first: the frame's top-left is t = 0.
    const VideoQuad upright = UprightVideoQuad(false);
    const PictureRect fit = {0.25, 0, 0.5, 1};
    const VideoQuad q = ShapedVideoQuad(upright, fit, Orientation{1, false});
    // Vertices in drawing order: bottom-left, bottom-right, top-right, top-left of the rectangle.
    EXPECT_FLOAT_EQ(q.vertex[0][0], -0.5f);
    EXPECT_FLOAT_EQ(q.vertex[2][0], 0.5f);
    EXPECT_FLOAT_EQ(q.vertex[2][1], 1.0f);
    // A clockwise turn puts the frame's top-left at the top-right, its
    // bottom-left at the top-left.
    EXPECT_FLOAT_EQ(q.tex[2][0], 0);
    EXPECT_FLOAT_EQ(q.tex[2][1], 0);
    EXPECT_FLOAT_EQ(q.tex[3][0], 0);
    EXPECT_FLOAT_EQ(q.tex[3][1], 1);
    // Mirrored only: the top-left of the rectangle shows the frame's top-right.
    const VideoQuad m = ShapedVideoQuad(upright, PictureRect{}, Orientation{0, true});
    EXPECT_FLOAT_EQ(m.tex[3][0], 1);
    EXPECT_FLOAT_EQ(m.tex[3][1], 0);
}
