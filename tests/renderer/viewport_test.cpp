// The video position places the picture inside the client area; everything
// outside it stays black.
#include <gtest/gtest.h>

#include "support/frames.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {

const Bgr kWhite = {255, 255, 255};

bool IsWhite(Rgb c) { return c.r > 240 && c.g > 240 && c.b > 240; }
bool IsBlack(Rgb c) { return c.r < 10 && c.g < 10 && c.b < 10; }

std::vector<uint8_t> WhiteFrame() {
    return BgrFrame(10, 16, 16, [](int, int) { return kWhite; });
}

TEST(ViewportTest, CentredHalfSizeAreaAndBlackAround) {
    ScopedRenderer r(10, 16, 16, 800, 600);
    ASSERT_EQ(r.status(), S_OK);
    Capture full = r.DrawAndCapture(WhiteFrame());
    ASSERT_EQ(full.width(), 800);
    ASSERT_EQ(full.height(), 600);
    EXPECT_TRUE(IsWhite(full.At(0, 0)));
    EXPECT_TRUE(IsWhite(full.At(799, 599)));

    EXPECT_EQ(noxd_set_video_pos(r.get(), 0.25f, 0.75f, 0.75f, 0.25f), S_OK);
    const Capture centred = r.DrawAndCapture(WhiteFrame());
    // The picture covers x 200..599 and y 150..449.
    EXPECT_TRUE(IsWhite(centred.At(200, 150)));
    EXPECT_TRUE(IsWhite(centred.At(599, 449)));
    EXPECT_TRUE(IsWhite(centred.At(400, 300)));
    EXPECT_TRUE(IsBlack(centred.At(199, 300)));
    EXPECT_TRUE(IsBlack(centred.At(600, 300)));
    EXPECT_TRUE(IsBlack(centred.At(400, 149)));
    EXPECT_TRUE(IsBlack(centred.At(400, 450)));
    EXPECT_TRUE(IsBlack(centred.At(5, 5)));
    EXPECT_TRUE(IsBlack(centred.At(795, 595)));

    noxd_set_video_pos(r.get(), 0, 1, 1, 0);
    const Capture restored = r.DrawAndCapture(WhiteFrame());
    EXPECT_TRUE(IsWhite(restored.At(0, 0)));
    EXPECT_TRUE(IsWhite(restored.At(799, 599)));
}

TEST(ViewportTest, UnevenPositionMeasuresBottomAndTopFromTheTop) {
    // left 0.1, bottom 0.5, right 0.6, top 0.2 of 400x300: x 40..239, y 60..149.
    ScopedRenderer r(10, 16, 16, 400, 300);
    ASSERT_EQ(r.status(), S_OK);
    noxd_set_video_pos(r.get(), 0.1f, 0.5f, 0.6f, 0.2f);
    const Capture shot = r.DrawAndCapture(WhiteFrame());
    EXPECT_TRUE(IsWhite(shot.At(41, 61)));
    EXPECT_TRUE(IsWhite(shot.At(238, 148)));
    EXPECT_TRUE(IsBlack(shot.At(38, 100)));
    EXPECT_TRUE(IsBlack(shot.At(100, 58)));
    EXPECT_TRUE(IsBlack(shot.At(100, 152)));
    EXPECT_TRUE(IsBlack(shot.At(242, 100)));
}

TEST(ViewportTest, ResizedWindowIsFilledAgain) {
    ScopedRenderer r(10, 16, 16, 200, 100);
    ASSERT_EQ(r.status(), S_OK);
    r.DrawAndCapture(WhiteFrame());
    // The own window belongs to the render thread; its WM_SIZE marks the
    // viewport, which the next frame applies on this thread.
    RECT frame = {0, 0, 300, 200};
    AdjustWindowRectEx(&frame, WS_POPUP | WS_OVERLAPPEDWINDOW, FALSE,
                       WS_EX_APPWINDOW | WS_EX_WINDOWEDGE);
    SetWindowPos(r.window(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    // The X server may resize the drawable a moment after the window; the
    // viewport itself is applied by the first frame and kept.
    r.DrawAndCapture(WhiteFrame());
    Sleep(100);
    const Capture shot = r.DrawAndCapture(WhiteFrame());
    ASSERT_EQ(shot.width(), 300);
    EXPECT_TRUE(IsWhite(shot.At(299, 199)));
    EXPECT_TRUE(IsWhite(shot.At(0, 0)));
}

}  // namespace
