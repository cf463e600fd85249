// Frames as decoders hand them over: NV12 and NV21, rows with padding or
// running bottom up, sizes and formats that change from one frame to the
// next, and descriptors that must be refused. Checked by the window's pixels
// against the conversion worked out from the luma weights.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "support/debug_print.h"
#include "support/frames.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {

constexpr int kTolerance = 4;

// One view takes every case, its format changing from frame to frame.
TEST(PlanesTest, EveryFormatPaddingAndRowOrderShowsTheFormulaColours) {
    struct Rows {
        int padding;
        bool bottom_up;
    } const row_kinds[] = {{0, false}, {37, false}, {12, true}, {1, true}};
    const int width = 69, height = 45;  // odd: chroma planes of 35 x 23
    ScopedRenderer view(NOXD_FORMAT_I420, 16, 16, 2 * width, 2 * height);
    ASSERT_EQ(view.status(), S_OK);
    for (int format : kAllFormats)
        for (const Rows& rows : row_kinds) {
            const std::string what = FormatName(format) + ", padding " + std::to_string(rows.padding) +
                                     (rows.bottom_up ? ", bottom up" : ", top down");
            const PlanesFrame frame =
                MakePlanesFrame(format, width, height, rows.padding, rows.bottom_up, Quadrants(width, height));
            const Capture shot = view.DrawPlanesAndCapture(frame.desc);
            for (int q = 0; q < 4; ++q) {
                int x = 0, y = 0;
                QuadrantCentre(width, height, q, x, y);
                EXPECT_TRUE(Near(shot.At(x, y), ExpectedQuadrant(format, q), kTolerance))
                    << what << ", quadrant " << q;
            }
        }
}

// NV12 and NV21 in the packed layout of noxd_draw_frame, in every colour space.
TEST(PlanesTest, PackedNvFramesInEveryColourSpace) {
    const int width = 64, height = 32;
    for (int format : {NOXD_FORMAT_NV12, NOXD_FORMAT_NV21}) {
        ScopedRenderer view(format, width, height, 2 * width, 2 * height);
        ASSERT_EQ(view.status(), S_OK) << FormatName(format);
        const auto quadrants = Quadrants(width, height);
        const std::vector<uint8_t> frame =
            YuvFrame(format, width, height, [&](int x, int row) { return quadrants(x, row).yuv; });
        for (int space = 0; space < 4; ++space) {
            ASSERT_EQ(noxd_set_color_space(view.get(), space / 2, space % 2), S_OK);
            const Capture shot = view.DrawAndCapture(frame);
            for (int q = 0; q < 4; ++q) {
                int x = 0, y = 0;
                QuadrantCentre(width, height, q, x, y);
                EXPECT_TRUE(Near(shot.At(x, y), ExpectedQuadrant(format, q, space / 2, space % 2), kTolerance))
                    << FormatName(format) << ", space " << space << ", quadrant " << q;
            }
        }
    }
}

// A camera switching profile: each new size and format is drawn at once,
// and the overlay, the zoom window and the colour space stay as they were.
TEST(PlanesTest, SizeSwitchKeepsOverlaysZoomAndColourSpace) {
    const int client_w = 160, client_h = 120;
    ScopedRenderer view(NOXD_FORMAT_I420, 64, 48, client_w, client_h);
    ASSERT_EQ(view.status(), S_OK);
    UINT_PTR marker = 0;
    // Opaque green over the bottom-right corner of the view.
    ASSERT_EQ(noxd_add_osd_rectangle(view.get(), &marker, 0.8f, 0.2f, 0.95f, 0.05f, 1, 0x0000FF00, 0, 1), S_OK);
    ASSERT_EQ(noxd_set_zoom_rect(view.get(), 0.0f, 1.0f, 0.5f, 0.5f), 0);  // the top-left quadrant
    ASSERT_EQ(noxd_set_color_space(view.get(), NOXD_COLOR_BT709, NOXD_RANGE_FULL), S_OK);
    const Rgb zoomed = ExpectedQuadrant(NOXD_FORMAT_I420, 0, 1, 1);
    const Rgb green = {0, 255, 0};

    struct Switch {
        int format, width, height, padding;
        bool bottom_up;
    } const switches[] = {
        {NOXD_FORMAT_NV12, 1920, 1080, 128, false},
        {NOXD_FORMAT_I420, 704, 576, 32, false},
        {NOXD_FORMAT_NV21, 1280, 720, 0, true},
    };
    UINT frames = 0;
    for (const Switch& s : switches) {
        const std::string what = FormatName(s.format) + " " + std::to_string(s.width) + "x" + std::to_string(s.height);
        const PlanesFrame frame = MakePlanesFrame(s.format, s.width, s.height, s.padding, s.bottom_up,
                                                  Quadrants(s.width, s.height));
        const Capture shot = view.DrawPlanesAndCapture(frame.desc);
        // Zoomed into the top-left quadrant: its colour everywhere, also
        // where the whole picture would show the bottom-right one.
        EXPECT_TRUE(Near(shot.At(client_w / 4, client_h / 4), zoomed, kTolerance)) << what;
        EXPECT_TRUE(Near(shot.At(client_w * 3 / 5, client_h * 3 / 5), zoomed, kTolerance)) << what;
        EXPECT_TRUE(Near(shot.At(client_w * 7 / 8, client_h * 7 / 8), green, 2)) << what;
        const NOXD_STATS stats = StatsOf(view.get());
        EXPECT_EQ(stats.frame_width, s.width) << what;
        EXPECT_EQ(stats.frame_height, s.height) << what;
        EXPECT_EQ(stats.format, s.format) << what;
        EXPECT_EQ(stats.frames_drawn, ++frames) << what;
        EXPECT_EQ(stats.overlays, 1u) << what;
        int snapshot_w = 0, snapshot_h = 0;
        EXPECT_EQ(noxd_snapshot_to_memory(view.get(), 0, nullptr, 0, &snapshot_w, &snapshot_h), S_OK);
        EXPECT_EQ(snapshot_w, s.width) << what;
        EXPECT_EQ(snapshot_h, s.height) << what;
    }

    // The packed call means the creation's format and size again.
    const auto quadrants = Quadrants(64, 48);
    const std::vector<uint8_t> packed =
        YuvFrame(NOXD_FORMAT_I420, 64, 48, [&](int x, int row) { return quadrants(x, row).yuv; });
    const Capture shot = view.DrawAndCapture(packed);
    EXPECT_TRUE(Near(shot.At(client_w * 3 / 5, client_h * 3 / 5), zoomed, kTolerance));
    EXPECT_TRUE(Near(shot.At(client_w * 7 / 8, client_h * 7 / 8), green, 2));
    const NOXD_STATS stats = StatsOf(view.get());
    EXPECT_EQ(stats.frame_width, 64);
    EXPECT_EQ(stats.frame_height, 48);
    EXPECT_EQ(stats.format, NOXD_FORMAT_I420);
}

std::string RefusalLine(const char* fault) {
    char line[200];
    std::snprintf(line, sizeof line, "MYDBG 0x%04lX noxd_draw_planes: frame refused: %s\n", GetCurrentThreadId(),
                  fault);
    return line;
}

// Every bad field gets E_INVALIDARG with nothing drawn and nothing changed,
// and one debugger line names the field of the first refusal after a frame.
TEST(PlanesTest, BadDescriptorsAreRefusedAndChangeNothing) {
    const int width = 64, height = 48;
    ScopedRenderer view(NOXD_FORMAT_I420, width, height, 128, 96);
    ASSERT_EQ(view.status(), S_OK);
    const PlanesFrame good = MakePlanesFrame(NOXD_FORMAT_NV12, width, height, 0, false, Quadrants(width, height));
    const Capture before = view.DrawPlanesAndCapture(good.desc);
    const NOXD_STATS stats_before = StatsOf(view.get());
    DebugPrintCatcher debug_print;

    struct Bad {
        void (*spoil)(NOXD_PLANES&);
        const char* fault;
    } const bads[] = {
        {[](NOXD_PLANES& d) { d.size = sizeof(NOXD_PLANES) - 1; }, "size is below sizeof(NOXD_PLANES)"},
        {[](NOXD_PLANES& d) { d.size = 0; }, "size is below sizeof(NOXD_PLANES)"},
        {[](NOXD_PLANES& d) { d.format = 13; }, "format is not a format code"},
        {[](NOXD_PLANES& d) { d.format = 0x32315659; }, "format is not a format code"},  // YV12
        {[](NOXD_PLANES& d) { d.width = 0; }, "width is below 1 or above the GL's maximum texture size"},
        {[](NOXD_PLANES& d) { d.height = -48; }, "height is below 1 or above the GL's maximum texture size"},
        {[](NOXD_PLANES& d) { d.width = d.height = 65535, d.pitch[0] = d.pitch[1] = 65536; },
         "width is below 1 or above the GL's maximum texture size"},
        {[](NOXD_PLANES& d) { d.data[0] = nullptr; }, "data[0] is null"},
        {[](NOXD_PLANES& d) { d.data[1] = nullptr; }, "data[1] is null"},
        {[](NOXD_PLANES& d) { d.pitch[0] = 63; }, "pitch[0] is smaller than a row"},
        {[](NOXD_PLANES& d) { d.pitch[1] = -63; }, "pitch[1] is smaller than a row"},
    };
    for (const Bad& bad : bads) {
        NOXD_PLANES desc = good.desc;
        bad.spoil(desc);
        EXPECT_EQ(noxd_draw_planes(view.get(), &desc), E_INVALIDARG) << bad.fault;
    }
    EXPECT_EQ(noxd_draw_planes(view.get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(noxd_draw_planes(nullptr, &good.desc), E_INVALIDARG);
    // One line for the whole run of refusals, naming the first.
    ASSERT_EQ(debug_print.lines().size(), 1u);
    EXPECT_EQ(debug_print.lines()[0], RefusalLine(bads[0].fault));
    EXPECT_TRUE(Capture::SettledOfClient(view.window()).SamePixelsAs(before));
    const NOXD_STATS stats_after = StatsOf(view.get());
    EXPECT_EQ(stats_after.frames_drawn, stats_before.frames_drawn);
    EXPECT_EQ(stats_after.format, NOXD_FORMAT_NV12);

    // A caller built against a later, longer structure is served; the next
    // refusal after that frame is reported again.
    struct Longer {
        NOXD_PLANES planes;
        char more[16];
    } longer = {good.desc, {}};
    longer.planes.size = sizeof longer;
    EXPECT_EQ(noxd_draw_planes(view.get(), &longer.planes), S_OK);
    NOXD_PLANES no_luma = good.desc;
    no_luma.data[0] = nullptr;
    EXPECT_EQ(noxd_draw_planes(view.get(), &no_luma), E_INVALIDARG);
    ASSERT_EQ(debug_print.lines().size(), 2u);
    EXPECT_EQ(debug_print.lines()[1], RefusalLine("data[0] is null"));
}

}  // namespace
