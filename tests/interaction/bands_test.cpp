// Rubber bands of the editing tools: seen during the drag, gone after the
// first frame after the release; the rectangles each tool keeps.
#include <gtest/gtest.h>

#include "interaction/cgl_renderer.h"
#include "support/frames.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {


std::vector<uint8_t> BlackFrame() {
    return BgrFrame(10, 16, 16, [](int, int) { return Bgr{0, 0, 0}; });
}

bool IsYellow(Rgb c) { return c.r > 200 && c.g > 200 && c.b < 60; }

// Yellow and black pixels along a row segment of the capture.
struct RowCount {
    int yellow = 0, black = 0;
};
RowCount CountRow(const Capture& c, int y, int x0, int x1) {
    RowCount n;
    for (int x = x0; x <= x1; ++x) {
        const Rgb p = c.At(x, y);
        if (IsYellow(p)) ++n.yellow;
        else if (p.r < 30 && p.g < 30 && p.b < 30) ++n.black;
    }
    return n;
}

int YellowPixels(const Capture& c) {
    int n = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) n += IsYellow(c.At(x, y));
    return n;
}

TEST(BandTest, PrivacyBandIsDashedYellowDuringTheDragAndGoneAfterRelease) {
    ScopedRenderer r(10, 16, 16, 400, 300);
    ASSERT_EQ(r.status(), S_OK);
    noxd_set_privacy_mask_flag(r.get(), 1);
    SendMouse(r.window(), WM_LBUTTONDOWN, 300, 200);
    SendMouse(r.window(), WM_MOUSEMOVE, 200, 120);
    SendMouse(r.window(), WM_MOUSEMOVE, 100, 50);
    const Capture during = r.DrawAndCapture(BlackFrame());
    // The top edge lies on row 50 between x 100 and 300: dashed, so both
    // yellow and black pixels lie along it.
    int best_yellow = 0, best_black = 0;
    for (int y = 48; y <= 52; ++y) {
        const RowCount n = CountRow(during, y, 110, 290);
        if (n.yellow > best_yellow) {
            best_yellow = n.yellow;
            best_black = n.black;
        }
    }
    EXPECT_GT(best_yellow, 40);
    EXPECT_GT(best_black, 40);
    EXPECT_EQ(CountRow(during, 125, 110, 290).yellow, 0);  // outline only

    SendMouse(r.window(), WM_LBUTTONUP, 100, 50);
    const noxd::RectF& rect = r.get()->interaction.privacy_rect;
    EXPECT_FLOAT_EQ(rect.left, 0.25f);
    EXPECT_NEAR(rect.top, 0.8333f, 1e-4);
    EXPECT_FLOAT_EQ(rect.right, 0.75f);
    EXPECT_NEAR(rect.bottom, 0.3333f, 1e-4);
    EXPECT_EQ(YellowPixels(r.DrawAndCapture(BlackFrame())), 0);
    EXPECT_EQ(r.get()->interaction.privacy_band_slot, 0u);
}

TEST(BandTest, PrivacyAndMotionBandsFromOneDragBothGoAfterRelease) {
    ScopedRenderer r(10, 16, 16, 400, 300);
    ASSERT_EQ(r.status(), S_OK);
    noxd_set_privacy_mask_flag(r.get(), 1);
    noxd_start_motion_edit(r.get(), 1);
    SendMouse(r.window(), WM_LBUTTONDOWN, 50, 50);
    SendMouse(r.window(), WM_MOUSEMOVE, 350, 250);
    EXPECT_NE(r.get()->interaction.privacy_band_slot, 0u);
    EXPECT_NE(r.get()->interaction.motion_band_slot, 0u);
    EXPECT_EQ(r.get()->osd.Objects().size(), 2u);
    EXPECT_GT(YellowPixels(r.DrawAndCapture(BlackFrame())), 200);
    SendMouse(r.window(), WM_LBUTTONUP, 350, 250);
    EXPECT_EQ(YellowPixels(r.DrawAndCapture(BlackFrame())), 0);
    EXPECT_TRUE(r.get()->osd.Objects().empty());
}

TEST(BandTest, DragEndingOutsideTheWindowIsClampedAtTheNextFrame) {
    ScopedRenderer r(10, 16, 16, 400, 300);
    ASSERT_EQ(r.status(), S_OK);
    noxd_start_motion_edit(r.get(), 1);
    SendMouse(r.window(), WM_LBUTTONDOWN, 200, 150);
    SendMouse(r.window(), WM_MOUSEMOVE, -100, -50);  // captured moves beyond the top-left corner
    const noxd::RectF& rect = r.get()->interaction.motion_rect;
    EXPECT_LT(rect.left, 0.0f);
    EXPECT_GT(rect.top, 1.0f);
    SendMouse(r.window(), WM_LBUTTONUP, -100, -50);
    r.DrawAndCapture(BlackFrame());
    EXPECT_EQ(rect.left, 0.0f);
    EXPECT_EQ(rect.top, 1.0f);
    EXPECT_FLOAT_EQ(rect.right, 0.5f);
    EXPECT_FLOAT_EQ(rect.bottom, 0.5f);
}

TEST(BandTest, ClickWithoutMovementMakesNoBand) {
    ScopedRenderer r(10, 16, 16, 400, 300);
    ASSERT_EQ(r.status(), S_OK);
    noxd_set_privacy_mask_flag(r.get(), 1);
    SendMouse(r.window(), WM_LBUTTONDOWN, 100, 100);
    SendMouse(r.window(), WM_MOUSEMOVE, 100, 100);
    SendMouse(r.window(), WM_LBUTTONUP, 100, 100);
    EXPECT_TRUE(r.get()->osd.Objects().empty());
    EXPECT_EQ(r.get()->interaction.privacy_rect.left, -1.0f);
}

TEST(BandTest, DragRectangleSwitchAndStaticZoomFollowingIt) {
    ScopedRenderer r(10, 16, 16, 400, 300);
    ASSERT_EQ(r.status(), S_OK);
    noxd_show_drag_rect(r.get(), 2);
    EXPECT_EQ(r.get()->interaction.show_drag_rect, 0);
    noxd_show_drag_rect(r.get(), 1);
    noxd_enable_digital_zoom_static(r.get(), 1);
    SendMouse(r.window(), WM_LBUTTONDOWN, 0, 0);
    SendMouse(r.window(), WM_MOUSEMOVE, 200, 150);
    const noxd::RectF& w = r.get()->interaction.zoom_window;
    EXPECT_FLOAT_EQ(w.right, 0.5f);
    EXPECT_FLOAT_EQ(w.bottom, 0.5f);
    SendMouse(r.window(), WM_MOUSEMOVE, 100, 150);
    EXPECT_FLOAT_EQ(w.right, 0.25f);
    SendMouse(r.window(), WM_LBUTTONUP, 100, 150);
    r.DrawAndCapture(BlackFrame());
    EXPECT_EQ(r.get()->interaction.zoom_band_slot, 0u);
}

TEST(BandTest, NullHandles) {
    EXPECT_EQ(noxd_show_drag_rect(nullptr, 1), S_OK);
    EXPECT_EQ(noxd_set_privacy_mask_flag(nullptr, 1), S_OK);
    EXPECT_EQ(noxd_start_motion_edit(nullptr, 1), S_OK);
}

}  // namespace
