// The picture's shape on screen: stretch, fit and fill, each turned and
// mirrored every way, checked by the colours the window shows where each
// quarter of the frame must land, the bars black and fill's crop.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

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

// Overlays lie on the picture: shapes turn with it, images stay upright on
// the box their turned corners span, and nothing is drawn outside the
// video area even where a filled picture reaches beyond it.
TEST(ShapeTest, OverlaysTurnWithThePictureImagesStayUprightAllClippedToTheVideoArea) {
    ScopedRenderer view(NOXD_FORMAT_BGR32, kFrameW, kFrameH, kClientW, kClientH);
    ASSERT_EQ(view.status(), S_OK);
    const std::vector<uint8_t> grey = BgrFrame(NOXD_FORMAT_BGR32, kFrameW, kFrameH, [](int, int) {
        return Bgr{60, 60, 60};
    });
    view.DrawAndCapture(grey);
    // Green over the frame's top-left quarter; an image, red above blue,
    // over its top-right quarter.
    UINT_PTR shape = 0, image = 0;
    ASSERT_EQ(noxd_add_osd_rectangle(view.get(), &shape, 0.0f, 1.0f, 0.5f, 0.5f, 1, 0x0000FF00, 0, 1), S_OK);
    uint32_t pixels[4 * 4];
    for (int i = 0; i < 16; ++i) pixels[i] = i < 8 ? 0xFFFF0000u : 0xFF0000FFu;  // B G R A bytes: red, blue
    ASSERT_EQ(noxd_add_osd_bitmap_data32(view.get(), &image, pixels, 4, 4, 0.5f, 1.0f, 1.0f, 0.5f, 0, 0, 0),
              S_OK);
    // Fitted and turned clockwise: the picture 60 wide from x 50; the
    // frame's top-left lands top right, its top-right bottom right.
    ASSERT_EQ(noxd_set_aspect(view.get(), NOXD_ASPECT_FIT, 0, 0), S_OK);
    ASSERT_EQ(noxd_set_orientation(view.get(), 90, 0), S_OK);
    ASSERT_EQ(noxd_redraw(view.get()), S_OK);
    Capture shot = Capture::SettledOfClient(view.window());
    const Rgb green = {0, 255, 0}, red = {255, 0, 0}, blue = {0, 0, 255}, frame_grey = {60, 60, 60};
    EXPECT_TRUE(Near(shot.At(95, 30), green, 8));
    EXPECT_TRUE(Near(shot.At(65, 30), frame_grey, 8));
    EXPECT_TRUE(Near(shot.At(88, 70), red, 8));
    EXPECT_TRUE(Near(shot.At(102, 70), red, 8));
    EXPECT_TRUE(Near(shot.At(88, 110), blue, 8));
    EXPECT_TRUE(Near(shot.At(102, 110), blue, 8));
    EXPECT_TRUE(Near(shot.At(20, 60), kBlack, 8));  // the bar stays black

    // Filled into the middle of the window (the video area 80 x 60 from
    // (40, 30)), the picture reaches past it: the overlay over the whole
    // frame shows inside the area only.
    UINT_PTR whole = 0;
    ASSERT_EQ(noxd_add_osd_rectangle(view.get(), &whole, 0.0f, 1.0f, 1.0f, 0.0f, 1, 0x00FF00FF, 0, 1), S_OK);
    ASSERT_EQ(noxd_set_video_pos(view.get(), 0.25f, 0.75f, 0.75f, 0.25f), S_OK);
    ASSERT_EQ(noxd_set_aspect(view.get(), NOXD_ASPECT_FILL, 0, 0), S_OK);
    ASSERT_EQ(noxd_set_orientation(view.get(), 0, 0), S_OK);
    ASSERT_EQ(noxd_redraw(view.get()), S_OK);
    shot = Capture::SettledOfClient(view.window());
    const Rgb magenta = {255, 0, 255};
    EXPECT_TRUE(Near(shot.At(45, 60), magenta, 8));
    EXPECT_TRUE(Near(shot.At(115, 60), magenta, 8));
    EXPECT_TRUE(Near(shot.At(30, 60), kBlack, 8));   // left of the area, where the picture reaches
    EXPECT_TRUE(Near(shot.At(130, 60), kBlack, 8));

    // Filling the whole window turned (160 x 320 from y -100): the overlays
    // go over the picture in its own pass, still turned and upright as above.
    ASSERT_EQ(noxd_delete_osd(view.get(), &whole), S_OK);
    ASSERT_EQ(noxd_set_video_pos(view.get(), 0.0f, 1.0f, 1.0f, 0.0f), S_OK);
    ASSERT_EQ(noxd_set_orientation(view.get(), 90, 0), S_OK);
    ASSERT_EQ(noxd_redraw(view.get()), S_OK);
    shot = Capture::SettledOfClient(view.window());
    EXPECT_TRUE(Near(shot.At(120, 30), green, 8));
    EXPECT_TRUE(Near(shot.At(120, 100), red, 8));
    EXPECT_TRUE(Near(shot.At(40, 100), frame_grey, 8));
    // The view's snapshot is what the window shows.
    std::vector<uint32_t> view_pixels(kClientW * kClientH);
    int w = 0, h = 0;
    ASSERT_EQ(noxd_snapshot_to_memory(view.get(), 1, view_pixels.data(),
                                      static_cast<UINT>(view_pixels.size() * 4), &w, &h), S_OK);
    ASSERT_EQ(w, kClientW);
    const auto snapshot_at = [&](int x, int y) {
        const uint32_t p = view_pixels[static_cast<size_t>(y) * w + x];
        return Rgb{static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
    };
    for (const auto& at : {std::pair<int, int>{120, 30}, {120, 100}, {40, 100}})
        EXPECT_TRUE(Near(snapshot_at(at.first, at.second), shot.At(at.first, at.second), 8)) << at.first;
}

// The box of the pixels of `colour` in the shot.
RECT ExtentOf(const Capture& shot, Rgb colour) {
    RECT box = {shot.width(), shot.height(), -1, -1};
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (Near(shot.At(x, y), colour, 8)) {
                box.left = std::min<LONG>(box.left, x), box.right = std::max<LONG>(box.right, x);
                box.top = std::min<LONG>(box.top, y), box.bottom = std::max<LONG>(box.bottom, y);
            }
    return box;
}

// An image of a fixed size (anchored), text say, keeps its size in pixels
// on a turned picture, upright, at its corner of the turned box.
TEST(ShapeTest, FixedSizeImagesKeepTheirSizeWhenTurned) {
    ScopedRenderer view(NOXD_FORMAT_BGR32, kFrameW, kFrameH, kClientW, kClientH);
    ASSERT_EQ(view.status(), S_OK);
    view.DrawAndCapture(BgrFrame(NOXD_FORMAT_BGR32, kFrameW, kFrameH, [](int, int) { return Bgr{60, 60, 60}; }));
    uint32_t pixels[8 * 2];
    for (uint32_t& p : pixels) p = 0xFFFF0000u;  // red
    UINT_PTR image = 0;
    // 48 x 24 pixels (on a 768 x 576 frame, 1/16 and 1/24 of it), top-right kept.
    ASSERT_EQ(noxd_add_osd_bitmap_data32(view.get(), &image, pixels, 8, 2, 0.3f, 0.9f, 0.3625f, 0.8583333f, 3,
                                         0, 0),
              S_OK);
    const Rgb red = {255, 0, 0};
    ASSERT_EQ(noxd_redraw(view.get()), S_OK);
    const RECT upright = ExtentOf(Capture::SettledOfClient(view.window()), red);
    ASSERT_EQ(noxd_set_orientation(view.get(), 90, 0), S_OK);
    ASSERT_EQ(noxd_redraw(view.get()), S_OK);
    const RECT turned = ExtentOf(Capture::SettledOfClient(view.window()), red);
    EXPECT_NEAR(upright.right - upright.left, 47, 1);
    EXPECT_NEAR(upright.bottom - upright.top, 23, 1);
    EXPECT_EQ(turned.right - turned.left, upright.right - upright.left);
    EXPECT_EQ(turned.bottom - turned.top, upright.bottom - upright.top);
    // The frame's top-left region lands top right: the image lies there,
    // its right edge at the turned box's (x 0.9 of the window).
    EXPECT_GT(turned.left, kClientW / 2);
    EXPECT_LT(turned.top, kClientH / 2);
    EXPECT_NEAR(turned.right, 0.9 * kClientW, 2);
}

// Shows the frame with the given shape, so the window's coordinates follow it.
void Shape(const ScopedRenderer& view, int mode, int degrees, int mirror) {
    ASSERT_EQ(noxd_set_aspect(view.get(), mode, 0, 0), S_OK);
    ASSERT_EQ(noxd_set_orientation(view.get(), degrees, mirror), S_OK);
    ASSERT_EQ(noxd_redraw(view.get()), S_OK);
}

// A click at client (100, 50) of the 160x120 window, as the callback gets
// it: coordinates of the upright frame, x right, y up, whatever is shown.
TEST(ShapeTest, ClicksAreReportedInTheFramesCoordinates) {
    struct Click {
        int mode, degrees, mirror, y;
        float x_expected, y_expected;
    } const clicks[] = {
        {NOXD_ASPECT_STRETCH, 0, 0, 50, 0.625f, 0.583333f},     // as without a shape
        {NOXD_ASPECT_FIT, 0, 0, 50, 0.625f, 0.625f},            // the picture 80 high, from y 20
        {NOXD_ASPECT_FIT, 0, 0, 5, 0.625f, 1.1875f},            // in the bar above it
        {NOXD_ASPECT_FIT, 90, 0, 50, 0.416667f, 0.833333f},     // 60 wide from x 50, turned
        {NOXD_ASPECT_FIT, 90, 1, 50, 0.583333f, 0.833333f},
        {NOXD_ASPECT_FILL, 0, 0, 50, 0.583333f, 0.583333f},     // 240 wide from x -40
        {NOXD_ASPECT_FILL, 270, 0, 50, 0.53125f, 0.375f},       // 320 high from y -100
        {NOXD_ASPECT_STRETCH, 180, 1, 50, 0.625f, 0.416667f},
        {NOXD_ASPECT_STRETCH, 0, 1, 50, 0.375f, 0.583333f},
    };
    ScopedRenderer view(NOXD_FORMAT_BGR32, kFrameW, kFrameH, kClientW, kClientH);
    ASSERT_EQ(view.status(), S_OK);
    view.DrawAndCapture(QuarteredFrame());
    ASSERT_EQ(noxd_set_mouse_callback(view.get(), RecordMouseCall), S_OK);
    for (const Click& c : clicks) {
        Shape(view, c.mode, c.degrees, c.mirror);
        mouse_calls.clear();
        SendMouse(view.window(), WM_MOUSEMOVE, 100, c.y);
        ASSERT_EQ(mouse_calls.size(), 1u);
        EXPECT_NEAR(mouse_calls[0].x, c.x_expected, 1e-5) << c.mode << " " << c.degrees << " " << c.mirror;
        EXPECT_NEAR(mouse_calls[0].y, c.y_expected, 1e-5) << c.mode << " " << c.degrees << " " << c.mirror;
    }

    // Every shape: an overlay put at the coordinates a click reports is
    // drawn under the pointer, in the picture and in a bar alike.
    UINT_PTR mark = 0;
    for (int mode : {NOXD_ASPECT_STRETCH, NOXD_ASPECT_FIT, NOXD_ASPECT_FILL})
        for (int degrees : {0, 90, 180, 270})
            for (int mirror : {0, 1})
                for (const POINT click : {POINT{100, 50}, POINT{30, 8}}) {
                    Shape(view, mode, degrees, mirror);
                    mouse_calls.clear();
                    SendMouse(view.window(), WM_MOUSEMOVE, click.x, click.y);
                    ASSERT_EQ(mouse_calls.size(), 1u);
                    const float x = mouse_calls[0].x, y = mouse_calls[0].y, d = 0.04f;
                    ASSERT_EQ(noxd_add_osd_rectangle(view.get(), &mark, x - d, y + d, x + d, y - d, 1, 0x00FF00FF,
                                                     0, 1),
                              S_OK);
                    ASSERT_EQ(noxd_redraw(view.get()), S_OK);
                    EXPECT_TRUE(Near(Capture::SettledOfClient(view.window()).At(click.x, click.y), {255, 0, 255}, 8))
                        << "mode " << mode << ", " << degrees << (mirror ? " mirrored" : "") << ", click at "
                        << click.x << "," << click.y << ": " << x << "," << y;
                }
    noxd_delete_osd(view.get(), &mark);
    noxd_set_mouse_callback(view.get(), nullptr);
}

void Drag(HWND window, int x0, int y0, int x1, int y1) {
    SendMouse(window, WM_LBUTTONDOWN, x0, y0, MK_LBUTTON);
    SendMouse(window, WM_MOUSEMOVE, (x0 + x1) / 2, (y0 + y1) / 2, MK_LBUTTON);
    SendMouse(window, WM_MOUSEMOVE, x1, y1, MK_LBUTTON);
    SendMouse(window, WM_LBUTTONUP, x1, y1);
}

void ExpectToolRect(NOXD_RENDERER view, int tool, float left, float top, float right, float bottom) {
    float rect[4] = {};
    ASSERT_EQ(noxd_get_tool_rect(view, tool, rect), S_OK) << "tool " << tool;
    EXPECT_NEAR(rect[0], left, 1e-4) << "tool " << tool;
    EXPECT_NEAR(rect[1], top, 1e-4) << "tool " << tool;
    EXPECT_NEAR(rect[2], right, 1e-4) << "tool " << tool;
    EXPECT_NEAR(rect[3], bottom, 1e-4) << "tool " << tool;
}

// On a fitted picture turned a quarter (60 x 120 from x 50), a drag from
// (70, 30) to (90, 90) covers the frame from x 0.25 to 0.75 and y 1/3 to
// 2/3; a privacy drag made while zoomed into that is relative to it.
TEST(ShapeTest, ToolRectanglesComeBackInTheFramesCoordinates) {
    ScopedRenderer view(NOXD_FORMAT_BGR32, kFrameW, kFrameH, kClientW, kClientH);
    ASSERT_EQ(view.status(), S_OK);
    view.DrawAndCapture(QuarteredFrame());
    float rect[4] = {1, 1, 1, 1};
    EXPECT_EQ(noxd_get_tool_rect(view.get(), NOXD_TOOL_PRIVACY, rect), S_FALSE);
    EXPECT_EQ(rect[0] + rect[1] + rect[2] + rect[3], 0.0f);
    EXPECT_EQ(noxd_get_tool_rect(view.get(), 3, rect), E_INVALIDARG);
    EXPECT_EQ(noxd_get_tool_rect(view.get(), NOXD_TOOL_ZOOM, nullptr), E_INVALIDARG);
    EXPECT_EQ(noxd_get_tool_rect(nullptr, NOXD_TOOL_ZOOM, rect), E_INVALIDARG);
    Shape(view, NOXD_ASPECT_FIT, 90, 0);

    ASSERT_EQ(noxd_set_privacy_mask_flag(view.get(), TRUE), S_OK);
    Drag(view.window(), 70, 30, 90, 90);
    ExpectToolRect(view.get(), NOXD_TOOL_PRIVACY, 0.25f, 2 / 3.0f, 0.75f, 1 / 3.0f);
    ASSERT_EQ(noxd_set_privacy_mask_flag(view.get(), FALSE), S_OK);

    ASSERT_EQ(noxd_enable_digital_zoom(view.get(), TRUE), 0);
    Drag(view.window(), 70, 30, 90, 90);
    ExpectToolRect(view.get(), NOXD_TOOL_ZOOM, 0.25f, 2 / 3.0f, 0.75f, 1 / 3.0f);
    ASSERT_EQ(noxd_redraw(view.get()), S_OK);  // now zoomed into it

    ASSERT_EQ(noxd_set_privacy_mask_flag(view.get(), TRUE), S_OK);
    Drag(view.window(), 70, 30, 90, 90);
    ExpectToolRect(view.get(), NOXD_TOOL_PRIVACY, 0.375f, 5 / 9.0f, 0.625f, 4 / 9.0f);
}

}  // namespace
