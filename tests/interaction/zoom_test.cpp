// Digital zoom seen on screen: a four-quadrant picture zoomed by mouse drag,
// by the host's rectangle and statically.
#include <gtest/gtest.h>

#include <memory>

#include "interaction/cgl_renderer.h"
#include "support/frames.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {

enum Quadrant { kTopLeft, kTopRight, kBottomLeft, kBottomRight };

// YUV colours far apart on screen, and their BGR counterparts.
const Yuv kYuvQuadrants[4] = {{81, 90, 240}, {145, 54, 34}, {41, 240, 110}, {235, 128, 128}};
const Bgr kBgrQuadrants[4] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 255, 255}};

constexpr int kFrame = 64;
constexpr int kClientW = 400, kClientH = 300;

Quadrant QuadrantOf(int x, int top_row) {
    const bool left = x < kFrame / 2, top = top_row < kFrame / 2;
    return top ? (left ? kTopLeft : kTopRight) : (left ? kBottomLeft : kBottomRight);
}

std::vector<uint8_t> QuadrantFrame(int format) {
    if (format == 10 || format == 11)
        return BgrFrame(format, kFrame, kFrame, [](int x, int row) {
            return kBgrQuadrants[QuadrantOf(x, kFrame - 1 - row)];  // bottom row first
        });
    return YuvFrame(format, kFrame, kFrame, [](int x, int row) { return kYuvQuadrants[QuadrantOf(x, row)]; });
}

Rgb ScreenColour(int format, Quadrant q) {
    if (format == 10 || format == 11) return {kBgrQuadrants[q].r, kBgrQuadrants[q].g, kBgrQuadrants[q].b};
    return ExpectedRgb(kYuvQuadrants[q]);
}


void Drag(HWND w, int x0, int y0, int x1, int y1) {
    SendMouse(w, WM_LBUTTONDOWN, x0, y0);
    SendMouse(w, WM_MOUSEMOVE, (x0 + x1) / 2, (y0 + y1) / 2);
    SendMouse(w, WM_MOUSEMOVE, x1, y1);
    SendMouse(w, WM_LBUTTONUP, x1, y1);
}

class ZoomTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        r = std::make_unique<ScopedRenderer>(format(), kFrame, kFrame, kClientW, kClientH);
        ASSERT_EQ(r->status(), S_OK);
    }
    int format() const { return GetParam(); }
    Capture Show() { return r->DrawAndCapture(QuadrantFrame(format())); }

    // The whole viewport shows quadrant q.
    ::testing::AssertionResult ShowsOnly(const Capture& c, Quadrant q) {
        const Rgb want = ScreenColour(format(), q);
        for (POINT p : {POINT{60, 50}, POINT{340, 50}, POINT{60, 250}, POINT{340, 250}, POINT{200, 150}}) {
            auto match = Near(c.At(p.x, p.y), want, 8);
            if (!match) return match << " at " << p.x << "," << p.y;
        }
        return ::testing::AssertionSuccess();
    }
    // Each corner of the viewport shows its own quadrant.
    ::testing::AssertionResult ShowsWhole(const Capture& c) {
        const POINT at[4] = {{60, 50}, {340, 50}, {60, 250}, {340, 250}};
        for (int q = 0; q < 4; ++q) {
            auto match = Near(c.At(at[q].x, at[q].y), ScreenColour(format(), static_cast<Quadrant>(q)), 8);
            if (!match) return match << " in quadrant " << q;
        }
        return ::testing::AssertionSuccess();
    }
    HWND window() const { return r->window(); }
    CGLRenderer* core() const { return r->get(); }

    std::unique_ptr<ScopedRenderer> r;
};

TEST_P(ZoomTest, DragZoomsIntoAQuadrantAndAPressReturnsToTheWholePicture) {
    noxd_enable_digital_zoom(core(), 1);
    EXPECT_TRUE(ShowsWhole(Show()));
    Drag(window(), 200, 150, 399, 299);  // bottom-right quarter of the client area
    EXPECT_TRUE(ShowsOnly(Show(), kBottomRight));
    Drag(window(), 0, 0, 200, 150);  // each drag starts on the whole picture
    EXPECT_TRUE(ShowsOnly(Show(), kTopLeft));
    SendMouse(window(), WM_LBUTTONDOWN, 30, 30);
    SendMouse(window(), WM_LBUTTONUP, 30, 30);
    EXPECT_TRUE(ShowsWhole(Show()));
}

TEST_P(ZoomTest, DragAlongOneAxisDoesNotZoomAndDoubleClickResets) {
    noxd_enable_digital_zoom(core(), 1);
    Drag(window(), 20, 100, 380, 100);
    EXPECT_TRUE(ShowsWhole(Show()));
    Drag(window(), 200, 0, 399, 150);
    EXPECT_TRUE(ShowsOnly(Show(), kTopRight));
    SendMouse(window(), WM_LBUTTONDBLCLK, 50, 50);
    EXPECT_TRUE(ShowsWhole(Show()));
}

TEST_P(ZoomTest, HostRectangleLocksOutTheMouse) {
    noxd_enable_digital_zoom(core(), 1);
    noxd_set_zoom_rect(core(), 0.5f, 0.5f, 0.0f, 0.0f);  // corners in any order
    EXPECT_EQ(core()->interaction.host_zoom_active, 1);
    EXPECT_TRUE(ShowsOnly(Show(), kBottomLeft));
    Drag(window(), 0, 0, 200, 150);
    SendMouse(window(), WM_LBUTTONDBLCLK, 50, 50);
    EXPECT_TRUE(ShowsOnly(Show(), kBottomLeft));
    // The whole picture hands the mouse back.
    noxd_set_zoom_rect(core(), 0.0005f, 1, 1, 0);
    EXPECT_EQ(core()->interaction.host_zoom_active, 0);
    EXPECT_TRUE(ShowsWhole(Show()));
}

TEST_P(ZoomTest, StaticZoomTakesLeftRightTopBottom) {
    EXPECT_EQ(noxd_enable_digital_zoom_static(core(), 1), 1);
    EXPECT_EQ(noxd_digital_zoom_static(core(), 0.5f, 1.0f, 1.0f, 0.5f), 1);
    EXPECT_TRUE(ShowsOnly(Show(), kTopRight));
    noxd_enable_digital_zoom_static(core(), 0);
    EXPECT_TRUE(ShowsWhole(Show()));
}

INSTANTIATE_TEST_SUITE_P(YuvAndBgr, ZoomTest, ::testing::Values(12, 10, 8));

TEST(ZoomStateTest, StoredWindowIsClampedAndWrittenBack) {
    ScopedRenderer r(12, 64, 64, 200, 150);
    ASSERT_EQ(r.status(), S_OK);
    noxd_enable_digital_zoom_static(r.get(), 1);
    noxd_digital_zoom_static(r.get(), -0.2f, 1.1f, 1.3f, 0.5f);
    const noxd::RectF& w = r.get()->interaction.zoom_window;
    EXPECT_EQ(w.left, -0.2f);
    EXPECT_EQ(w.right, 1.1f);
    EXPECT_EQ(w.top, 1.3f);
    r.DrawAndCapture(std::vector<uint8_t>(64 * 64 * 2, 128));
    EXPECT_EQ(w.left, 0.0f);
    EXPECT_EQ(w.top, 1.0f);
    EXPECT_EQ(w.right, 1.0f);
    EXPECT_EQ(w.bottom, 0.5f);
}

TEST(ZoomStateTest, MinimisingKeepsTheZoomAndDisablingShowsTheWholePicture) {
    ScopedRenderer r(12, 64, 64, 400, 300);
    ASSERT_EQ(r.status(), S_OK);
    noxd_enable_digital_zoom(r.get(), 1);
    Drag(r.window(), 0, 0, 200, 150);
    SendMessageW(r.window(), WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(r.get()->interaction.zoom_applied, 1);
    noxd_enable_digital_zoom(r.get(), 0);
    const noxd::RectF& w = r.get()->interaction.zoom_window;
    EXPECT_EQ(w.left, 0.0f);
    EXPECT_EQ(w.top, 1.0f);
    EXPECT_EQ(w.right, 1.0f);
    EXPECT_EQ(w.bottom, 0.0f);
}

TEST(ZoomStateTest, NullHandles) {
    EXPECT_EQ(noxd_enable_digital_zoom(nullptr, 1), 0);
    EXPECT_EQ(noxd_set_zoom_rect(nullptr, 0, 1, 1, 0), 0);
    EXPECT_EQ(noxd_enable_digital_zoom_static(nullptr, 1), 0);
    EXPECT_EQ(noxd_digital_zoom_static(nullptr, 0, 1, 1, 0), 0);
}

}  // namespace
