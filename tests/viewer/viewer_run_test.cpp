// The viewer run whole against the stand-in camera, unattended, and judged
// by what a user sees: its screenshots, its console lines, its exit code.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>

#include "sim_media.h"
#include "view_layout.h"
#include "viewer_process.h"

namespace viewer_test {
namespace {

constexpr char kCamera[] = "10.0.0.1:8000";
constexpr int kWidth = 640, kHeight = 480;  // the stand-in's pictures, shown 1:1

struct Rgb {
    int r, g, b;
};

Rgb At(const Image& image, int x, int y) {
    const uint8_t* p = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
    return {p[0], p[1], p[2]};
}

bool Near(Rgb got, Rgb want, int tolerance) {
    return std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
           std::abs(got.b - want.b) <= tolerance;
}

::testing::AssertionResult Looks(const Image& image, int x, int y, Rgb want, int tolerance) {
    const Rgb got = At(image, x, y);
    if (Near(got, want, tolerance)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "at (" << x << ", " << y << ") got " << got.r << "," << got.g << ","
                                         << got.b << " want " << want.r << "," << want.g << "," << want.b;
}

// A frame of the stand-in camera: its number and its picture size.
struct Frame {
    uint32_t sequence;
    int width = kWidth, height = kHeight;
};

// Screen (x, y) to the picture pixel shown there.
using Mapping = std::function<void(int sx, int sy, double& px, double& py)>;

void Identity(int sx, int sy, double& px, double& py) {
    px = sx;
    py = sy;
}

// The share of a grid of points, in the band between the top and bottom
// overlays and outside `skip`, that show the test pattern of `frame` as
// `mapping` places it. A neighbour's colour counts too: the picture's edges
// blur by a pixel when scaled.
double PatternShare(const Image& image, const Frame& frame, const Mapping& mapping, int tolerance,
                    const std::function<bool(int, int)>& skip = [](int, int) { return false; }) {
    int checked = 0, matching = 0;
    for (int y = 84; y < 400; y += 12) {
        for (int x = 4; x < kWidth; x += 12) {
            if (skip(x, y)) continue;
            double px, py;
            mapping(x, y, px, py);
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy) {
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    const int qx = static_cast<int>(px + 0.5) + dx, qy = static_cast<int>(py + 0.5) + dy;
                    if (qx < 0 || qy < 0 || qx >= frame.width || qy >= frame.height) continue;
                    const noxsim::Rgb c = noxsim::PatternPixel(frame.sequence, qx, qy);
                    found = Near(At(image, x, y), {c.r, c.g, c.b}, tolerance);
                }
            }
            ++checked;
            matching += found;
        }
    }
    return checked ? static_cast<double>(matching) / checked : 0.0;
}

// The whole picture of `frame`'s size fitted into the view.
Mapping Fitted(const Frame& frame) {
    return [frame](int sx, int sy, double& px, double& py) {
        px = (sx + 0.5) * frame.width / kWidth - 0.5;
        py = (sy + 0.5) * frame.height / kHeight - 0.5;
    };
}

// The view zoomed by a drag over the client rectangle (320, 120)-(639, 360),
// onto a picture of `frame`'s size.
Mapping ZoomedInto(const Frame& frame) {
    return [frame](int sx, int sy, double& px, double& py) {
        px = (320 + (sx + 0.5) * 319.0 / kWidth) / kWidth * frame.width - 0.5;
        py = (120 + (sy + 0.5) * 240.0 / kHeight) / kHeight * frame.height - 0.5;
    };
}

// Whether `mapping` shows screen point (sx, sy) within `reach` picture pixels
// of an edge of the pattern of `frame`: a side of a checker square or where a
// ramp wraps round. Chroma shared by 2 x 2 pixels blurs those edges.
bool NearAnEdge(const Frame& frame, const Mapping& mapping, int sx, int sy, double reach) {
    double px, py;
    mapping(sx, sy, px, py);
    const auto within_reach = [reach](double at, double period) {
        const double from_edge = std::fmod(at + 0.5, period);
        return from_edge < reach || period - from_edge < reach;
    };
    const double s = frame.sequence;
    return within_reach(px + 8 * s, 64) || within_reach(py, 64) || within_reach(px + 4 * s, 256) ||
           within_reach(py + 2 * s, 256);
}

// The share of PatternShare's points, those within 2 picture pixels of an
// edge of the pattern left out, and those `skip` names.
double SharpPatternShare(const Image& image, const Frame& frame, const Mapping& mapping,
                         const std::function<bool(int, int)>& skip = [](int, int) { return false; }) {
    return PatternShare(image, frame, mapping, 14,
                        [&](int x, int y) { return skip(x, y) || NearAnEdge(frame, mapping, x, y, 2); });
}

// A screenshot of the whole 640 x 480 window; empty when it is not one.
Image ReadWindowShot(const std::string& path) {
    Image image = ReadPng(path);
    return image.width == kWidth && image.height == kHeight ? image : Image{};
}

int CountWhite(const Image& image, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) count += Near(At(image, x, y), {255, 255, 255}, 20);
    return count;
}

// Pixel of a normalized video point in the 640 x 480 view.
int PixelX(float x) { return static_cast<int>(x * kWidth); }
int PixelY(float y) { return static_cast<int>((1.0f - y) * kHeight); }

// The frame a "screenshot PATH: frame N" line names.
uint32_t ShotFrame(const std::string& output, const std::string& path) {
    const std::string line = "screenshot " + path + ": frame ";
    const size_t at = output.find(line);
    return at == std::string::npos ? 0 : static_cast<uint32_t>(std::atol(output.c_str() + at + line.size()));
}

constexpr Rgb kRed = {255, 0, 0}, kMagenta = {255, 0, 255}, kCyan = {0, 255, 255}, kWhite = {255, 255, 255};
constexpr Rgb kLensOn = {0, 200, 0}, kLensOff = {140, 140, 140}, kBlack = {0, 0, 0};

// Centre of the button's lens, where its state shows.
int LensX() { return PixelX(viewer::layout::kZoomButton.left) + 19; }
int LensY() { return PixelY(viewer::layout::kZoomButton.top) + 20; }

TEST(ViewerRun, ShowsTheCameraWithItsOverlaysInItsOwnWindow) {
    const ScratchFolder folder;
    const std::string shot = PathIn(folder, "shot.png");
    const ViewerRun run = RunViewer({kCamera, "admin", "secret", "--format", "rgb32", "--name", "Gate",
                                     "--frames", "40", "--screenshot", shot});
    ASSERT_EQ(run.exit_code, 0u) << run.output;
    EXPECT_NE(run.output.find("connected to 10.0.0.1:8000, decoding to RGB32\n"), std::string::npos);
    EXPECT_EQ(NumberAfter(run.output, "frames shown"), 40);
    const Image image = ReadPng(shot);
    ASSERT_FALSE(image.empty()) << run.output;
    ASSERT_EQ(image.width, kWidth);
    ASSERT_EQ(image.height, kHeight);
    const uint32_t frame = ShotFrame(run.output, shot);

    // The video, upright and in its colours.
    EXPECT_GE(PatternShare(image, {frame}, Identity, 8), 0.9);
    // White caption text top left, and no white in the video elsewhere.
    EXPECT_GE(CountWhite(image, 0, 0, kWidth / 2, 50), 100);
    EXPECT_EQ(CountWhite(image, 0, 84, kWidth, 400), 0);
    // The logo upright where it was put: magenta left, cyan right, white bar below.
    const viewer::Corners& logo = viewer::layout::kLogo;
    const int lx = PixelX(logo.left), ly = PixelY(logo.top);
    const int lw = PixelX(logo.right) - lx, lh = PixelY(logo.bottom) - ly;
    EXPECT_TRUE(Looks(image, lx + lw / 4, ly + lh / 3, kMagenta, 10));
    EXPECT_TRUE(Looks(image, lx + lw * 3 / 4, ly + lh / 3, kCyan, 10));
    EXPECT_TRUE(Looks(image, lx + lw / 2, ly + lh * 7 / 8, kWhite, 10));
    // The red dot and the zoom button, zoom on.
    EXPECT_TRUE(Looks(image, PixelX(viewer::layout::kRecX), PixelY(viewer::layout::kRecY), kRed, 10));
    EXPECT_TRUE(Looks(image, LensX(), LensY(), kLensOn, 10));
}

TEST(ViewerRun, ShowsYuy2PicturesInTheirColours) {
    const ScratchFolder folder;
    const std::string shot = PathIn(folder, "shot.png");
    const ViewerRun run = RunViewer({kCamera, "admin", "secret", "--frames", "30", "--screenshot", shot});
    ASSERT_EQ(run.exit_code, 0u) << run.output;
    EXPECT_NE(run.output.find("decoding to YUY2\n"), std::string::npos);
    const Image image = ReadPng(shot);
    ASSERT_FALSE(image.empty()) << run.output;
    // Studio-range YUV, chroma shared by a pixel pair: a few steps off.
    EXPECT_GE(PatternShare(image, {ShotFrame(run.output, shot)}, Identity, 14), 0.9);
}

// Mean of all channels over a band of rows.
double MeanLevel(const Image& image, int y0, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < image.width; ++x) {
            const Rgb p = At(image, x, y);
            sum += p.r + p.g + p.b;
        }
    return sum / (3.0 * image.width * (y1 - y0));
}

// S saves the view beside the screenshots, --stats shows the statistics
// line, and while the camera pauses the view says "NO VIDEO" over the
// dimmed picture.
TEST(ViewerRun, SnapshotsTheStatisticsLineAndNoVideoWhileTheCameraPauses) {
    const ScratchFolder folder;
    const std::string shot = PathIn(folder, "end.png"), script = PathIn(folder, "script.txt");
    // The camera falls silent for 4 s after every 50 frames (2 s). 600 ms
    // after the first frame shown the view cannot be stale yet; then the
    // script waits for "NO VIDEO", however slowly the machine starts.
    WriteTextFile(script, "600 key S\n700 wait novideo\n700 key S\n");
    // Ends once the script has played: under emulation the camera's next 60
    // frames after the pause would take longer than the run may.
    const ViewerRun run = RunViewer({kCamera, "admin", "x", "--format", "rgb32", "--stats", "--frames", "10",
                                     "--script", script, "--screenshot", shot},
                                    {{L"NOX_SIM_FAULT", L"pause"}});
    ASSERT_EQ(run.exit_code, 0u) << run.output;
    const Image live = ReadPng(PathIn(folder, "snapshot-1.png"));
    const Image paused = ReadPng(PathIn(folder, "snapshot-2.png"));
    ASSERT_FALSE(live.empty()) << run.output;
    ASSERT_FALSE(paused.empty()) << run.output;
    ASSERT_EQ(live.width, kWidth);
    ASSERT_EQ(live.height, kHeight);
    EXPECT_NE(run.output.find("snapshot " + PathIn(folder, "snapshot-1.png") + ": frame "), std::string::npos)
        << run.output;

    // The statistics line under the caption, in white.
    EXPECT_GE(CountWhite(live, 0, 40, kWidth / 2, 70), 50);
    // Live: the pattern, nothing white in the middle. Paused: the text there, the picture dimmed.
    EXPECT_EQ(CountWhite(live, 0, 200, kWidth, 280), 0);
    EXPECT_GE(CountWhite(paused, 0, 200, kWidth, 280), 100) << run.output;
    EXPECT_LT(MeanLevel(paused, 100, 180), 0.6 * MeanLevel(live, 100, 180));
    EXPECT_GT(MeanLevel(paused, 100, 180), 0.2 * MeanLevel(live, 100, 180));
}

// Zoom by drag, back by double-click, a privacy mask drawn with the tool on
// P, then the zoom button pressed: in a host window of the viewer's own.
TEST(ViewerRun, ScriptZoomsMasksAndPressesTheButtonInAHostWindow) {
    const ScratchFolder folder;
    const std::string zoom = PathIn(folder, "zoom.png"), final_shot = PathIn(folder, "final.png");
    const std::string script = PathIn(folder, "script.txt");
    WriteTextFile(script,
                  "200 drag 320,120 639,360\n"
                  "900 screenshot " + zoom + "\n"
                  "1100 dblclick 10,10\n"
                  "1300 key P\n"
                  "1400 drag 100,300 260,420\n"
                  "1900 key P\n"
                  "2000 click " + std::to_string(LensX()) + "," + std::to_string(LensY()) + "\n"
                  "2300 screenshot " + final_shot + "\n");
    const ViewerRun run = RunViewer({kCamera, "admin", "x", "--format", "rgb32", "--host-window", "--verbose",
                                     "--frames", "5", "--script", script});
    ASSERT_EQ(run.exit_code, 0u) << run.output;

    // The mouse callback: video coordinates, then the privacy tool's 0..10000 form.
    for (const char* line : {"mouse WM_LBUTTONDOWN x=0.5000 y=0.7500 wParam=0x0001\n",
                             "mouse WM_LBUTTONDBLCLK x=0.0156 y=0.9792 wParam=0x0001\n", "privacy tool on\n",
                             "mouse WM_LBUTTONDOWN x=1562.0000 y=6250.0000 wParam=0x0001\n",
                             "privacy mask: left 0.156 top 0.375 right 0.406 bottom 0.125\n",
                             "privacy tool off\n", "digital zoom off\n"})
        EXPECT_NE(run.output.find(line), std::string::npos) << "missing: " << line << run.output;

    // The dragged rectangle (picture x 320..639, y 120..360) fills the view.
    const Image zoomed = ReadPng(zoom);
    ASSERT_FALSE(zoomed.empty()) << run.output;
    const uint32_t zoom_frame = ShotFrame(run.output, zoom);
    EXPECT_GE(PatternShare(zoomed, {zoom_frame}, ZoomedInto({zoom_frame}), 8), 0.9);
    EXPECT_LT(PatternShare(zoomed, {zoom_frame}, Identity, 8), 0.5);

    // Whole picture again, the mask black where it was drawn, zoom off.
    const Image image = ReadPng(final_shot);
    ASSERT_FALSE(image.empty()) << run.output;
    const auto in_mask = [](int x, int y) { return x >= 96 && x <= 264 && y >= 296 && y <= 424; };
    EXPECT_GE(PatternShare(image, {ShotFrame(run.output, final_shot)}, Identity, 8, in_mask), 0.9);
    for (int y = 304; y < 418; y += 8)
        for (int x = 104; x < 258; x += 8) ASSERT_TRUE(Looks(image, x, y, kBlack, 12));
    EXPECT_TRUE(Looks(image, LensX(), LensY(), kLensOff, 10));
}

// Padded NV12 rows from a camera that switches between two picture sizes
// every 75 frames (3 s): the view keeps its window, its zoom and its
// overlays, and shows each size's picture whole.
TEST(ViewerRun, ShowsPaddedNv12PicturesAcrossSizeChangesKeepingZoomAndOverlays) {
    const ScratchFolder folder;
    const std::string whole_a = PathIn(folder, "whole-a.png"), zoom_a = PathIn(folder, "zoom-a.png");
    const std::string zoom_b = PathIn(folder, "zoom-b.png"), whole_b = PathIn(folder, "whole-b.png");
    const std::string script = PathIn(folder, "script.txt");
    WriteTextFile(script,
                  "0 screenshot " + whole_a + "\n"
                  "100 drag 320,120 639,360\n"
                  "700 screenshot " + zoom_a + "\n"
                  "700 wait frame 75\n"
                  "700 screenshot " + zoom_b + "\n"
                  "700 wait frame 80\n"
                  "700 dblclick 10,10\n"
                  "700 screenshot " + whole_b + "\n");
    const char sizes[] = "640x480,352x288";
    const ViewerRun run = RunViewer({kCamera, "admin", "x", "--frames", "5", "--script", script},
                                    {{L"NOX_SIM_NV12", L"64"}, {L"NOX_SIM_SIZES", L"640x480,352x288"},
                                     {L"NOX_SIM_SIZE_FRAMES", L"75"}});
    ASSERT_EQ(run.exit_code, 0u) << run.output;
    for (const char* line : {"picture 640 x 480 NV12: frame ", "picture 352 x 288 NV12: frame "})
        EXPECT_NE(run.output.find(line), std::string::npos) << "missing: " << line << run.output;
    EXPECT_EQ(run.output.find("frames rejected"), std::string::npos) << run.output;

    const auto frame_of = [&](const std::string& shot) {
        const uint32_t sequence = ShotFrame(run.output, shot);
        const noxsim::PictureSize size = noxsim::SizeOfFrame(noxsim::ParseSizes(sizes), 75, sequence);
        return Frame{sequence, size.width, size.height};
    };
    const Frame before = frame_of(zoom_a), after = frame_of(zoom_b);
    ASSERT_EQ(before.width, 640) << "the first 75 frames were gone before the zoom\n" << run.output;
    ASSERT_EQ(after.width, 352) << run.output;
    const struct {
        const std::string& path;
        Mapping shown;
        Frame frame;
    } shots[] = {
        {whole_a, Fitted(frame_of(whole_a)), frame_of(whole_a)},
        {zoom_a, ZoomedInto(before), before},
        {zoom_b, ZoomedInto(after), after},
        {whole_b, Fitted(frame_of(whole_b)), frame_of(whole_b)},
    };
    for (const auto& shot : shots) {
        SCOPED_TRACE(shot.path);
        const Image image = ReadWindowShot(shot.path);
        ASSERT_FALSE(image.empty()) << run.output;
        EXPECT_GE(SharpPatternShare(image, shot.frame, shot.shown), 0.95);
        const viewer::Corners& logo = viewer::layout::kLogo;
        const int lx = PixelX(logo.left), ly = PixelY(logo.top), lw = PixelX(logo.right) - lx;
        EXPECT_TRUE(Looks(image, lx + lw / 4, ly + (PixelY(logo.bottom) - ly) / 3, kMagenta, 10));
    }
}

// Share of a grid of points over rows y0..y1 that are black.
double BlackShare(const Image& image, int y0, int y1) {
    int checked = 0, black = 0;
    for (int y = y0; y < y1; y += 6) {
        for (int x = 2; x < kWidth; x += 12) {
            ++checked;
            black += Near(At(image, x, y), kBlack, 4);
        }
    }
    return static_cast<double>(black) / checked;
}

// A camera whose pixels are twice as wide as tall (NOX_SIM_SAR=2:1) shows a
// 1280 x 480 picture: fitted into the 640 x 480 window it leaves 120-pixel
// black bars above and below; filling it, it is cropped by 320 pixels each
// side; turned a quarter by R (stretched again after A twice), the
// picture's top-left corner lies at the window's top right, and mirrored by
// M before the turn, at the window's bottom right.
TEST(ViewerRun, FitsFillsAndTurnsThePictureWithTheCamerasPixelShape) {
    const ScratchFolder folder;
    const std::string fit = PathIn(folder, "fit.png"), fill = PathIn(folder, "fill.png");
    const std::string turned = PathIn(folder, "turned.png"), mirrored = PathIn(folder, "mirrored.png");
    const std::string script = PathIn(folder, "script.txt");
    WriteTextFile(script,
                  "0 screenshot " + fit + "\n"
                  "300 key A\n"
                  "600 screenshot " + fill + "\n"
                  "900 key A\n"
                  "900 key R\n"
                  "1200 screenshot " + turned + "\n"
                  "1500 key M\n"
                  "1800 screenshot " + mirrored + "\n");
    const ViewerRun run = RunViewer({kCamera, "admin", "x", "--format", "rgb32", "--aspect", "fit", "--frames",
                                     "5", "--script", script},
                                    {{L"NOX_SIM_SAR", L"2:1"}});
    ASSERT_EQ(run.exit_code, 0u) << run.output;
    for (const char* line : {"sample aspect 2:1\n", "aspect fill\n", "aspect stretch\n", "rotation 90\n", "mirror on\n"})
        EXPECT_NE(run.output.find(line), std::string::npos) << "missing: " << line << run.output;

    const Mapping fitted = [](int sx, int sy, double& px, double& py) {
        px = sx;
        py = (sy - 120 + 0.5) * 2 - 0.5;
    };
    const Mapping filled = [](int sx, int sy, double& px, double& py) {
        px = (sx + 320 + 0.5) / 2 - 0.5;
        py = sy;
    };
    const Mapping quarter_turned = [](int sx, int sy, double& px, double& py) {
        px = (sy + 0.5) * kWidth / kHeight - 0.5;
        py = (kWidth - sx - 0.5) * kHeight / kWidth - 0.5;
    };
    const Mapping mirrored_and_turned = [&](int sx, int sy, double& px, double& py) {
        quarter_turned(sx, sy, px, py);
        px = kWidth - 1 - px;
    };
    // Rows and columns clear of the overlays, which lie on the picture and turn with it.
    const auto fit_overlays = [](int, int y) { return y < 166 || y > 316; };
    const auto turned_overlays = [](int x, int) { return x < 110 || x > 525; };
    const struct {
        const std::string& path;
        Mapping shown;
        std::function<bool(int, int)> overlays;
    } shots[] = {
        {fit, fitted, fit_overlays},
        {fill, filled, [](int, int) { return false; }},
        {turned, quarter_turned, turned_overlays},
        {mirrored, mirrored_and_turned, turned_overlays},
    };
    for (const auto& shot : shots) {
        SCOPED_TRACE(shot.path);
        const Image image = ReadWindowShot(shot.path);
        ASSERT_FALSE(image.empty()) << run.output;
        EXPECT_GE(SharpPatternShare(image, {ShotFrame(run.output, shot.path)}, shot.shown, shot.overlays), 0.95);
    }
    const Image fitted_image = ReadWindowShot(fit);
    EXPECT_GE(BlackShare(fitted_image, 0, 114), 0.97);
    EXPECT_GE(BlackShare(fitted_image, 366, kHeight), 0.97);
    EXPECT_LT(BlackShare(ReadWindowShot(fill), 0, kHeight), 0.2);
}

// A camera that sends frames as fast as it can: the newest is shown, the
// rest dropped, and every frame received is one or the other (or the one
// still waiting at the end).
TEST(ViewerRun, CountsAddUpWhenTheCameraFloods) {
    const ViewerRun run = RunViewer({kCamera, "admin", "x", "--frames", "30"}, {{L"NOX_SIM_FAULT", L"flood"}});
    ASSERT_EQ(run.exit_code, 0u) << run.output;
    const long long received = NumberAfter(run.output, "frames received");
    const long long shown = NumberAfter(run.output, "frames shown");
    const long long dropped = NumberAfter(run.output, "frames dropped");
    EXPECT_EQ(shown, 30) << run.output;
    EXPECT_GT(dropped, 0) << run.output;
    EXPECT_GE(received - shown - dropped, 0) << run.output;
    EXPECT_LE(received - shown - dropped, 1) << run.output;
    EXPECT_NE(run.output.find("average frame rate: "), std::string::npos);
}

TEST(ViewerRun, RefusedLoginEndsWithTheComponentsCode) {
    const ViewerRun run = RunViewer({kCamera, "admin", "wrong", "--frames", "5"});
    EXPECT_EQ(run.exit_code, 1u);
    EXPECT_NE(run.output.find("connecting to 10.0.0.1:8000 failed: 0x8004020C\n"), std::string::npos)
        << run.output;
}

TEST(ViewerRun, CommandLineMistakeShowsTheUsage) {
    const ViewerRun run = RunViewer({"--frames", "5"});
    EXPECT_EQ(run.exit_code, 2u);
    EXPECT_EQ(run.output.rfind("noxd_viewer: no camera address\nusage: noxd_viewer ADDRESS", 0), 0u)
        << run.output;
}

}  // namespace
}  // namespace viewer_test
