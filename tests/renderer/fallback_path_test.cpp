// Views where GL has no shader programs: this program runs with Mesa made to
// offer GL 1.1 without the extensions Windows' own GL lacks. With the
// fallback switched on (for the whole program, below) frames are converted
// on the CPU and drawn with GL 1.1 alone; checked by the window's pixels
// against the conversion worked out from the luma weights. The conversion is
// fixed-point (within 2 of the formulas), the window adds the scaling's
// rounding: a channel may differ by kTolerance, as on the shader path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/debug_print.h"
#include "support/frames.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {

constexpr int kTolerance = 4;

class FallbackOn : public ::testing::Environment {
public:
    void SetUp() override { ASSERT_EQ(noxd_set_fallback(NOXD_FALLBACK_CPU), S_OK); }
};
::testing::Environment* const fallback_on = ::testing::AddGlobalTestEnvironment(new FallbackOn);

bool Contains(const std::string& line, const char* part) { return line.find(part) != std::string::npos; }

// The largest texture side, as the creation's debugger line reports it.
int LargestTextureIn(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const size_t at = line.find("textures up to ");
        if (at != std::string::npos) return std::atoi(line.c_str() + at + 15);
    }
    return 0;
}

struct Shot {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    Rgb At(int x, int y) const {
        const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
        return {static_cast<int>(p >> 16 & 0xFF), static_cast<int>(p >> 8 & 0xFF), static_cast<int>(p & 0xFF)};
    }
};

Shot SnapshotOf(NOXD_RENDERER renderer, int what) {
    Shot s;
    EXPECT_EQ(noxd_snapshot_to_memory(renderer, what, nullptr, 0, &s.width, &s.height), S_OK);
    s.pixels.assign(static_cast<size_t>(s.width) * s.height, 0);
    EXPECT_EQ(noxd_snapshot_to_memory(renderer, what, s.pixels.data(), static_cast<UINT>(s.pixels.size() * 4),
                                      &s.width, &s.height),
              S_OK);
    return s;
}

// Pixels where the snapshot and the screen differ by more than 2 in a channel.
int DifferingPixels(const Shot& shot, const Capture& screen) {
    int differing = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (!Near(shot.At(x, y), screen.At(x, y), 2)) ++differing;
    return differing;
}

}  // namespace

// Off, the default, is the contract hosts have: the first creation fails and
// marks the process, the next fails at once. On, creations succeed on the
// GL 1.1 path, say so once and report it.
TEST(FallbackTest, OffRefusesAndMarksTheProcessOnDrawsOnTheGl11Path) {
    EXPECT_EQ(noxd_set_fallback(2), E_INVALIDARG);
    EXPECT_EQ(noxd_set_fallback(-1), E_INVALIDARG);
    DebugPrintCatcher catcher;
    const std::vector<std::string>& lines = catcher.lines();
    ASSERT_EQ(noxd_set_fallback(NOXD_FALLBACK_OFF), S_OK);
    NOXD_RENDERER refused = reinterpret_cast<NOXD_RENDERER>(1);
    EXPECT_EQ(noxd_create_renderer(nullptr, L"off", 64, 48, NOXD_FORMAT_I420, 64, 48, &refused), NOXD_E_NO_SHADERS);
    EXPECT_EQ(refused, nullptr);
    EXPECT_EQ(noxd_create_renderer(nullptr, L"off again", 64, 48, NOXD_FORMAT_I420, 64, 48, &refused),
              NOXD_E_NO_SHADERS);
    EXPECT_EQ(FindWindowW(L"CGLRenderer", nullptr), nullptr);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(Contains(lines[0], "noxd_create_renderer: no glCreateProgram in GL \"1.1")) << lines[0];
    EXPECT_TRUE(Contains(lines[1], "no glCreateProgram in this process's GL")) << lines[1];

    catcher.Clear();
    ASSERT_EQ(noxd_set_fallback(NOXD_FALLBACK_CPU), S_OK);
    const int width = 64, height = 48;
    ScopedRenderer view(NOXD_FORMAT_I420, width, height, 2 * width, 2 * height);
    ASSERT_EQ(view.status(), S_OK);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(Contains(lines[0], "noxd_create_renderer: no glCreateProgram in GL \"1.1")) << lines[0];
    EXPECT_TRUE(Contains(lines[0], "GL 1.1 path, frames converted on the CPU")) << lines[0];
    EXPECT_EQ(StatsOf(view.get()).path, static_cast<UINT>(NOXD_PATH_CPU));
    const auto quadrants = Quadrants(width, height);
    const Capture shot = view.DrawAndCapture(
        YuvFrame(NOXD_FORMAT_I420, width, height, [&](int x, int row) { return quadrants(x, row).yuv; }));
    for (int q = 0; q < 4; ++q) {
        int x = 0, y = 0;
        QuadrantCentre(width, height, q, x, y);
        EXPECT_TRUE(Near(shot.At(x, y), ExpectedQuadrant(NOXD_FORMAT_I420, q), kTolerance)) << "quadrant " << q;
    }
}

// Every format, given plane by plane (odd size, padded rows, bottom up) to
// one view whose format changes from frame to frame, and packed as
// noxd_draw_frame takes it, in every colour space.
TEST(FallbackTest, EveryFormatAndColourSpaceShowsTheFormulaColours) {
    const int width = 69, height = 45;
    const auto quadrants = Quadrants(width, height);
    const auto expect_quadrants = [&](const Capture& shot, int format, int space, const std::string& what) {
        for (int q = 0; q < 4; ++q) {
            int x = 0, y = 0;
            QuadrantCentre(width, height, q, x, y);
            EXPECT_TRUE(Near(shot.At(x, y), ExpectedQuadrant(format, q, space / 2, space % 2), kTolerance))
                << FormatName(format) << ", space " << space << ", " << what << ", quadrant " << q;
        }
    };
    const auto spaces_of = [](int format) {
        return format == NOXD_FORMAT_BGR24 || format == NOXD_FORMAT_BGR32 ? 1 : 4;
    };
    {
        struct Rows {
            int padding;
            bool bottom_up;
        } const row_kinds[] = {{0, false}, {37, false}, {12, true}};
        ScopedRenderer view(NOXD_FORMAT_I420, 16, 16, 2 * width, 2 * height);
        ASSERT_EQ(view.status(), S_OK);
        for (int format : kAllFormats)
            for (int space = 0; space < spaces_of(format); ++space) {
                ASSERT_EQ(noxd_set_color_space(view.get(), space / 2, space % 2), S_OK);
                for (const Rows& rows : row_kinds) {
                    const PlanesFrame frame =
                        MakePlanesFrame(format, width, height, rows.padding, rows.bottom_up, quadrants);
                    expect_quadrants(view.DrawPlanesAndCapture(frame.desc), format, space,
                                     "padding " + std::to_string(rows.padding) + (rows.bottom_up ? ", bottom up" : ""));
                }
            }
    }
    for (int format : kAllFormats) {
        ScopedRenderer view(format, width, height, 2 * width, 2 * height);
        ASSERT_EQ(view.status(), S_OK);
        const bool bgr = spaces_of(format) == 1;
        // BGR frames are stored bottom row first.
        const std::vector<uint8_t> packed =
            bgr ? BgrFrame(format, width, height, [&](int x, int row) { return quadrants(x, height - 1 - row).bgr; })
                : YuvFrame(format, width, height, [&](int x, int row) { return quadrants(x, row).yuv; });
        for (int space = 0; space < spaces_of(format); ++space) {
            ASSERT_EQ(noxd_set_color_space(view.get(), space / 2, space % 2), S_OK);
            expect_quadrants(view.DrawAndCapture(packed), format, space, "packed");
        }
    }
}

// Overlays over the picture, a host zoom window, and both snapshots: the
// frame as converted at its own size, the view as the window shows it.
TEST(FallbackTest, OverlayZoomAndSnapshots) {
    const int width = 64, height = 48, client_w = 160, client_h = 120;
    ScopedRenderer view(NOXD_FORMAT_NV12, width, height, client_w, client_h);
    ASSERT_EQ(view.status(), S_OK);
    const auto quadrants = Quadrants(width, height);
    const std::vector<uint8_t> frame =
        YuvFrame(NOXD_FORMAT_NV12, width, height, [&](int x, int row) { return quadrants(x, row).yuv; });
    UINT_PTR marker = 0, veil = 0;
    // Opaque green in the bottom-right corner, half-transparent blue over the top-left.
    ASSERT_EQ(noxd_add_osd_rectangle(view.get(), &marker, 0.8f, 0.2f, 0.95f, 0.05f, 1, 0x0000FF00, 0, 1), S_OK);
    ASSERT_EQ(noxd_add_osd_rectangle(view.get(), &veil, 0.05f, 0.95f, 0.2f, 0.8f, 1, 0x80FF0000, 0, 1), S_OK);
    ASSERT_EQ(noxd_set_zoom_rect(view.get(), 0.0f, 1.0f, 0.5f, 0.5f), 0);  // the top-left quadrant
    const Capture shot = view.DrawAndCapture(frame);
    const Rgb zoomed = ExpectedQuadrant(NOXD_FORMAT_NV12, 0);
    EXPECT_TRUE(Near(shot.At(client_w / 2, client_h / 2), zoomed, kTolerance));
    EXPECT_TRUE(Near(shot.At(client_w * 7 / 8, client_h * 7 / 8), {0, 255, 0}, 2));
    const Rgb half_blue = {(zoomed.r + 1) / 2, (zoomed.g + 1) / 2, (zoomed.b + 255) / 2};
    EXPECT_TRUE(Near(shot.At(client_w / 8, client_h / 8), half_blue, kTolerance + 2));

    const Shot decoded = SnapshotOf(view.get(), 0);
    ASSERT_EQ(decoded.width, width);
    ASSERT_EQ(decoded.height, height);
    for (int q = 0; q < 4; ++q) {
        int x = 0, y = 0;
        QuadrantCentre(width, height, q, x, y);
        EXPECT_TRUE(Near(decoded.At(x / 2, y / 2), ExpectedQuadrant(NOXD_FORMAT_NV12, q), kTolerance))
            << "frame snapshot, quadrant " << q;
    }
    const Shot shown = SnapshotOf(view.get(), 1);
    ASSERT_EQ(shown.width, client_w);
    ASSERT_EQ(shown.height, client_h);
    EXPECT_EQ(DifferingPixels(shown, shot), 0);
    // Drawn into the back buffer only: a view snapshot without the marker
    // leaves the window showing it.
    ASSERT_EQ(noxd_delete_osd(view.get(), &marker), S_OK);
    const Shot unmarked = SnapshotOf(view.get(), 1);
    EXPECT_TRUE(Near(unmarked.At(client_w * 7 / 8, client_h * 7 / 8), zoomed, kTolerance));
    EXPECT_TRUE(Near(Capture::SettledOfClient(view.window()).At(client_w * 7 / 8, client_h * 7 / 8), {0, 255, 0}, 2));
}

// A frame wider than the GL's largest texture is drawn from tiles, with no
// line at the seam between two nor along the picture's edge.
TEST(FallbackTest, FramesWiderThanTheLargestTextureAreTiledWithoutSeams) {
    DebugPrintCatcher catcher;
    ScopedRenderer view(NOXD_FORMAT_I420, 16, 16, 256, 64);
    ASSERT_EQ(view.status(), S_OK);
    const int largest = LargestTextureIn(catcher.lines());
    ASSERT_GE(largest, 64);
    // Two tiles, the seam in the middle; the colour changes at a third.
    const int width = largest + 50, height = 16;
    const Yuv left = kQuadrantYuv[0], right = kQuadrantYuv[1];
    const PlanesFrame frame = MakePlanesFrame(NOXD_FORMAT_I420, width, height, 0, false, [&](int x, int) {
        return PlanesPixel{x < width / 3 ? left : right, {}};
    });
    Capture shot = view.DrawPlanesAndCapture(frame.desc);
    EXPECT_TRUE(Near(shot.At(256 / 6, 32), ExpectedRgbIn(left, 0, 0), kTolerance));
    EXPECT_TRUE(Near(shot.At(256 * 3 / 4, 32), ExpectedRgbIn(right, 0, 0), kTolerance));
    // Zoomed onto the seam, and onto the picture's right edge, where the
    // filter reads the rim.
    for (const float x0 : {0.49f, 0.99f}) {
        ASSERT_EQ(noxd_set_zoom_rect(view.get(), x0, 1.0f, x0 + 0.01f, 0.0f), 0);
        shot = view.DrawPlanesAndCapture(frame.desc);
        for (int x = 0; x < 256; ++x)
            ASSERT_TRUE(Near(shot.At(x, 32), ExpectedRgbIn(right, 0, 0), kTolerance)) << "from " << x0 << ", column " << x;
    }
}

