// noxd_redraw and the "no video" picture of noxd_set_stale_timeout, read
// back off the screen.
#include <gtest/gtest.h>

#include "support/frames.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {

constexpr int kWidth = 160, kHeight = 120;
const Yuv kGrey = {126, 128, 128};  // about 128 in every channel

std::vector<uint8_t> GreyFrame() { return YuvFrame(8, 64, 48, [](int, int) { return kGrey; }); }

Capture RedrawAndCapture(ScopedRenderer& r) {
    EXPECT_EQ(noxd_redraw(r.get()), S_OK);
    PumpMessages();
    return Capture::SettledOfClient(r.window());
}

// Pixels of the middle third that are white: the text's glyphs.
int WhitePixelsInTheMiddle(const Capture& c) {
    int count = 0;
    for (int y = c.height() / 3; y < 2 * c.height() / 3; ++y)
        for (int x = 0; x < c.width(); ++x) {
            const Rgb p = c.At(x, y);
            if (p.r > 240 && p.g > 240 && p.b > 240) ++count;
        }
    return count;
}

UINT StatsFrames(NOXD_RENDERER r) {
    NOXD_STATS s = {};
    s.size = sizeof s;
    noxd_get_stats(r, &s);
    return s.frames_drawn;
}

TEST(RedrawTest, ShowsOverlayChangesWithoutANewFrame) {
    ScopedRenderer r(NOXD_FORMAT_I420, 64, 48, kWidth, kHeight);
    ASSERT_EQ(r.status(), S_OK);
    EXPECT_EQ(noxd_redraw(r.get()), S_FALSE);  // no frame to draw again yet
    EXPECT_EQ(noxd_redraw(nullptr), E_INVALIDARG);
    const Capture plain = r.DrawAndCapture(GreyFrame());
    const Rgb grey = ExpectedRgb(kGrey);
    ASSERT_TRUE(Near(plain.At(80, 60), grey, 4));

    UINT_PTR box = 0;
    ASSERT_EQ(noxd_add_osd_rectangle(r.get(), &box, 0.25f, 0.75f, 0.75f, 0.25f, 1, 0xFF0000FF, 0, 1),
              S_OK);
    // A redraw draws it over the last frame's picture.
    const Capture with_box = RedrawAndCapture(r);
    EXPECT_TRUE(Near(with_box.At(80, 60), Rgb{255, 0, 0}, 2));
    EXPECT_TRUE(Near(with_box.At(10, 10), grey, 4));

    ASSERT_EQ(noxd_delete_osd(r.get(), &box), S_OK);
    EXPECT_TRUE(Near(RedrawAndCapture(r).At(80, 60), grey, 4));
    EXPECT_EQ(StatsFrames(r.get()), 1u);  // redraws are not frames
}

TEST(RedrawTest, RedrawShowsANewColourSpaceOnTheSameFrame) {
    const Yuv red = {81, 90, 240};
    ScopedRenderer r(NOXD_FORMAT_UYVY, 64, 48, kWidth, kHeight);
    ASSERT_EQ(r.status(), S_OK);
    r.DrawAndCapture(YuvFrame(9, 64, 48, [&](int, int) { return red; }));
    ASSERT_EQ(noxd_set_color_space(r.get(), NOXD_COLOR_BT709, NOXD_RANGE_LIMITED), S_OK);
    EXPECT_TRUE(Near(RedrawAndCapture(r).At(80, 60), ExpectedRgbIn(red, 1, 0), 4));
}

TEST(StaleViewTest, TextAppearsAfterTheTimeoutAndGoesWithTheNextFrame) {
    ScopedRenderer r(NOXD_FORMAT_I420, 64, 48, kWidth, kHeight);
    ASSERT_EQ(r.status(), S_OK);
    EXPECT_EQ(noxd_set_stale_timeout(r.get(), -1, L"NO VIDEO"), E_INVALIDARG);
    EXPECT_EQ(noxd_set_stale_timeout(nullptr, 10, L"NO VIDEO"), E_INVALIDARG);
    const Rgb grey = ExpectedRgb(kGrey);

    // A timeout far beyond this test: redraws show the picture as it is.
    ASSERT_EQ(noxd_set_stale_timeout(r.get(), 600000, L"NO VIDEO"), S_OK);
    const Capture fresh = r.DrawAndCapture(GreyFrame());
    EXPECT_EQ(WhitePixelsInTheMiddle(fresh), 0);
    EXPECT_TRUE(Near(RedrawAndCapture(r).At(5, 5), grey, 4));

    // A short one, certainly over once the test has slept past it.
    ASSERT_EQ(noxd_set_stale_timeout(r.get(), 20, L"NO VIDEO"), S_OK);
    Sleep(60);
    const Capture stale = RedrawAndCapture(r);
    const Rgb corner = stale.At(5, 5);
    EXPECT_LT(corner.g, grey.g * 2 / 3) << "the picture is dimmed";
    EXPECT_GT(corner.g, 10) << "but still seen";
    EXPECT_GT(WhitePixelsInTheMiddle(stale), 30) << "the text is shown";
    // A snapshot of the view shows the cover too.
    std::vector<uint32_t> view(kWidth * kHeight);
    int w = 0, h = 0;
    ASSERT_EQ(noxd_snapshot_to_memory(r.get(), 1, view.data(), kWidth * kHeight * 4, &w, &h), S_OK);
    const uint32_t p = view[5 * kWidth + 5];
    EXPECT_TRUE(Near(Rgb{static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF),
                         static_cast<int>(p & 0xFF)},
                     corner, 1));

    const Capture next = r.DrawAndCapture(GreyFrame());
    EXPECT_TRUE(Near(next.At(5, 5), grey, 4));
    EXPECT_EQ(WhitePixelsInTheMiddle(next), 0);

    // 0 switches it off, however long no frame comes.
    ASSERT_EQ(noxd_set_stale_timeout(r.get(), 0, L"NO VIDEO"), S_OK);
    Sleep(60);
    const Capture off = RedrawAndCapture(r);
    EXPECT_TRUE(Near(off.At(5, 5), grey, 4));
    EXPECT_EQ(WhitePixelsInTheMiddle(off), 0);
}

}  // namespace
