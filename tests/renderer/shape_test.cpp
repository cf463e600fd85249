// The picture's shape on screen: stretch, fit and fill, each turned and
// mirrored every way, checked by the colours the window shows where each
// quarter of the frame must land, the bars black and fill's crop.
#include <gtest/gtest.h>

#include <string>

#include "support/frames.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {

// A 2:1 frame in quarters: top-left red, top-right green, bottom-left blue,
// bottom-right white, with a yellow band down its left edge.
const Rgb kQuarter[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
const Rgb kYellow = {255, 255, 0}, kBlack = {0, 0, 0};
constexpr int kFrameW = 64, kFrameH = 32, kClientW = 160, kClientH = 120;

std::vector<uint8_t> QuarteredFrame() {
    // BGR frames are stored bottom row first: `row` 0 is the picture's bottom.
    return BgrFrame(NOXD_FORMAT_BGR32, kFrameW, kFrameH, [](int x, int row) {
        const Rgb c = x < 4 ? kYellow : kQuarter[(x >= kFrameW / 2 ? 1 : 0) + (row < kFrameH / 2 ? 2 : 0)];
        return Bgr{static_cast<uint8_t>(c.b), static_cast<uint8_t>(c.g), static_cast<uint8_t>(c.r)};
    });
}

TEST(ShapeTest, EveryModeTurnAndMirrorPutsTheQuartersWhereTheyBelong) {
    struct Turn {
        int degrees, mirror;
        int top_left, top_right;  // the frame's quarter the screen shows there
    } const turns[] = {
        {0, 0, 0, 1}, {90, 0, 2, 0}, {180, 0, 3, 2}, {270, 0, 1, 3},
        {0, 1, 1, 0}, {90, 1, 3, 1}, {180, 1, 2, 3}, {270, 1, 0, 2},
    };
    ScopedRenderer view(NOXD_FORMAT_BGR32, kFrameW, kFrameH, kClientW, kClientH);
    ASSERT_EQ(view.status(), S_OK);
    view.DrawAndCapture(QuarteredFrame());
    for (int mode : {NOXD_ASPECT_STRETCH, NOXD_ASPECT_FIT, NOXD_ASPECT_FILL})
        for (const Turn& t : turns) {
            const std::string what = "mode " + std::to_string(mode) + ", " + std::to_string(t.degrees) +
                                     (t.mirror ? " mirrored" : "");
            ASSERT_EQ(noxd_set_aspect(view.get(), mode, 0, 0), S_OK);
            ASSERT_EQ(noxd_set_orientation(view.get(), t.degrees, t.mirror), S_OK);
            ASSERT_EQ(noxd_redraw(view.get()), S_OK);
            PumpMessages();
            const Capture shot = Capture::SettledOfClient(view.window());
            // 15 pixels from the centre lies inside the picture in every mode.
            const int cx = kClientW / 2, cy = kClientH / 2;
            EXPECT_TRUE(Near(shot.At(cx - 15, cy - 15), kQuarter[t.top_left], 8)) << what;
            EXPECT_TRUE(Near(shot.At(cx + 15, cy - 15), kQuarter[t.top_right], 8)) << what;
            EXPECT_TRUE(Near(shot.At(cx - 15, cy + 15), kQuarter[3 - t.top_right], 8)) << what;
            EXPECT_TRUE(Near(shot.At(cx + 15, cy + 15), kQuarter[3 - t.top_left], 8)) << what;
            // Fit leaves bars across a 2:1 picture, beside it once turned.
            const bool turned = t.degrees % 180 != 0;
            const Rgb above = shot.At(cx + 15, 3), beside = shot.At(3, cy + 15);
            EXPECT_EQ(Near(above, kBlack, 8), mode == NOXD_ASPECT_FIT && !turned) << what;
            EXPECT_EQ(Near(beside, kBlack, 8), mode == NOXD_ASPECT_FIT && turned) << what;
        }
    // Upright, the yellow edge shows in stretch and fit; fill crops it off.
    ASSERT_EQ(noxd_set_orientation(view.get(), 0, 0), S_OK);
    for (int mode : {NOXD_ASPECT_STRETCH, NOXD_ASPECT_FIT, NOXD_ASPECT_FILL}) {
        ASSERT_EQ(noxd_set_aspect(view.get(), mode, 0, 0), S_OK);
        ASSERT_EQ(noxd_redraw(view.get()), S_OK);
        PumpMessages();
        const Rgb edge = Capture::SettledOfClient(view.window()).At(2, kClientH / 2 - 15);
        EXPECT_TRUE(Near(edge, mode == NOXD_ASPECT_FILL ? kQuarter[0] : kYellow, 8)) << "mode " << mode;
    }
    // Unknown values change nothing.
    EXPECT_EQ(noxd_set_aspect(view.get(), 3, 0, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_set_aspect(view.get(), NOXD_ASPECT_FIT, -1, 1), E_INVALIDARG);
    EXPECT_EQ(noxd_set_orientation(view.get(), 45, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_set_orientation(view.get(), 90, 2), E_INVALIDARG);
    EXPECT_EQ(noxd_set_aspect(nullptr, 0, 0, 0), E_INVALIDARG);
    EXPECT_EQ(noxd_set_orientation(nullptr, 0, 0), E_INVALIDARG);
}

}  // namespace
