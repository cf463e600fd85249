// noxd_set_color_space: YUV frames of every format shown in both matrices and
// both ranges, against the conversion worked out from the luma weights.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/frames.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {

constexpr int kTolerance = 4;
constexpr int kStripes = 4;

// Saturated colours, where the matrices differ most, and a near-white and a
// near-black grey, where the ranges do.
const Yuv kStripeColours[kStripes] = {{81, 90, 240}, {145, 54, 34}, {230, 128, 128}, {20, 200, 110}};

std::vector<uint8_t> StripedFrame(int format) {
    return YuvFrame(format, 64, 16, [](int x, int) { return kStripeColours[x / 16]; });
}

// Stripe centres of a 128-pixel-wide window showing the 64-pixel frame.
Rgb StripeCentre(const Capture& shot, int stripe) { return shot.At(stripe * 32 + 16, 16); }

struct SpaceCase {
    int format;
    int matrix;
    int range;
};

class ColorSpaceTest : public ::testing::TestWithParam<SpaceCase> {};

TEST_P(ColorSpaceTest, NextFrameShowsTheFormulaColours) {
    const SpaceCase c = GetParam();
    ScopedRenderer r(c.format, 64, 16, 128, 32);
    ASSERT_EQ(r.status(), S_OK);
    ASSERT_EQ(noxd_set_color_space(r.get(), c.matrix, c.range), S_OK);
    const Capture shot = r.DrawAndCapture(StripedFrame(c.format));
    for (int s = 0; s < kStripes; ++s)
        EXPECT_TRUE(Near(StripeCentre(shot, s), ExpectedRgbIn(kStripeColours[s], c.matrix, c.range),
                         kTolerance))
            << "stripe " << s;
}

INSTANTIATE_TEST_SUITE_P(
    EveryYuvFormatAndSpace, ColorSpaceTest,
    ::testing::Values(SpaceCase{8, 0, 0}, SpaceCase{8, 0, 1}, SpaceCase{8, 1, 0}, SpaceCase{8, 1, 1},
                      SpaceCase{9, 0, 0}, SpaceCase{9, 0, 1}, SpaceCase{9, 1, 0}, SpaceCase{9, 1, 1},
                      SpaceCase{12, 0, 0}, SpaceCase{12, 0, 1}, SpaceCase{12, 1, 0},
                      SpaceCase{12, 1, 1}));

TEST(ColorSpaceSwitchTest, AppliesFromTheNextFrameAndComesBackToTheSamePixels) {
    // The stripes must tell the spaces apart, or the checks below prove nothing.
    ASSERT_GT(std::abs(ExpectedRgbIn(kStripeColours[0], 1, 1).g - ExpectedRgbIn(kStripeColours[0], 0, 0).g),
              3 * kTolerance);
    ScopedRenderer r(8, 64, 16, 128, 32);
    ASSERT_EQ(r.status(), S_OK);
    const std::vector<uint8_t> frame = StripedFrame(8);
    const Capture before = r.DrawAndCapture(frame);

    ASSERT_EQ(noxd_set_color_space(r.get(), NOXD_COLOR_BT709, NOXD_RANGE_FULL), S_OK);
    // Nothing changes on the screen until a frame is drawn.
    EXPECT_TRUE(Near(StripeCentre(Capture::SettledOfClient(r.window()), 0),
                     StripeCentre(before, 0), 0));
    const Capture hd = r.DrawAndCapture(frame);
    EXPECT_TRUE(Near(StripeCentre(hd, 0), ExpectedRgbIn(kStripeColours[0], 1, 1), kTolerance));

    // Codes outside the two matrices and ranges are refused and change nothing.
    EXPECT_EQ(noxd_set_color_space(r.get(), 2, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_set_color_space(r.get(), 0, -1), E_INVALIDARG);
    EXPECT_EQ(noxd_set_color_space(nullptr, 0, 0), E_INVALIDARG);
    const Capture still_hd = r.DrawAndCapture(frame);
    EXPECT_TRUE(Near(StripeCentre(still_hd, 0), StripeCentre(hd, 0), 0));

    // Back to the default: the very pixels of a renderer never switched.
    ASSERT_EQ(noxd_set_color_space(r.get(), NOXD_COLOR_BT601, NOXD_RANGE_LIMITED), S_OK);
    const Capture after = r.DrawAndCapture(frame);
    for (int s = 0; s < kStripes; ++s)
        EXPECT_TRUE(Near(StripeCentre(after, s), StripeCentre(before, s), 0)) << "stripe " << s;
}

TEST(ColorSpaceSwitchTest, BgrFramesKeepTheirColours) {
    ScopedRenderer r(10, 64, 16, 128, 32);
    ASSERT_EQ(r.status(), S_OK);
    ASSERT_EQ(noxd_set_color_space(r.get(), NOXD_COLOR_BT709, NOXD_RANGE_FULL), S_OK);
    const Capture shot = r.DrawAndCapture(BgrFrame(10, 64, 16, [](int, int) { return Bgr{0x10, 0x80, 0xF0}; }));
    EXPECT_TRUE(Near(StripeCentre(shot, 1), Rgb{0xF0, 0x80, 0x10}, 1));
}

}  // namespace
