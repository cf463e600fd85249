// Every overlay kind read back from the window and compared, pixel by pixel,
// with reference pictures: a button through its states, overlays added and
// deleted while earlier ones have been drawn, a rubber band and the "no
// video" cover. The references are what the renderer drew when each image
// was uploaded anew in every frame and every shape drawn on its own, so any
// faster route must show the same pixels.
//
// Built a second time as osd_direct_route_tests, run where the GL offers no
// clip origin, so the overlays are drawn straight over the picture; and a
// third time in renderer_fallback_tests, where GL 1.1 draws them over a
// picture converted on the CPU.
//
// To write the references again (only when a picture is meant to change):
// run this program with NOXD_WRITE_OVERLAY_REFERENCES set to a file name;
// the cases then write that file instead of comparing, and skip.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "osd_view.h"

#include <GL/gl.h>

using namespace noxd_osd_test;

namespace {

// Each picture as runs of one colour, row by row from the top: a word per run,
// the length less one in the top byte and 0xRRGGBB below.
struct ReferencePicture {
    const char* name;
    int width, height;
    std::vector<uint32_t> runs;
};

#include "overlay_references.inc"

constexpr int kWidth = 160;
constexpr int kHeight = 120;
// A channel may differ this much, as in the other overlay cases.
constexpr int kTolerance = 8;

std::vector<uint32_t> RunsOf(const Capture& shot) {
    std::vector<uint32_t> runs;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const Rgb c = shot.At(x, y);
            const uint32_t rgb = static_cast<uint32_t>(c.r << 16 | c.g << 8 | c.b);
            if (!runs.empty() && (runs.back() & 0xFFFFFF) == rgb && runs.back() >> 24 < 0xFF)
                runs.back() += 1u << 24;
            else
                runs.push_back(rgb);
        }
    }
    return runs;
}

std::vector<Rgb> PixelsOf(const std::vector<uint32_t>& runs) {
    std::vector<Rgb> pixels;
    for (const uint32_t run : runs) {
        const Rgb c = {static_cast<int>(run >> 16 & 0xFF), static_cast<int>(run >> 8 & 0xFF),
                       static_cast<int>(run & 0xFF)};
        pixels.insert(pixels.end(), (run >> 24) + 1, c);
    }
    return pixels;
}

const char* ReferencesToWrite() { return std::getenv("NOXD_WRITE_OVERLAY_REFERENCES"); }

void AppendReference(const std::string& name, const Capture& shot) {
    static std::set<std::string> written;
    if (!written.insert(name).second) return;
    FILE* file = std::fopen(ReferencesToWrite(), "a");
    ASSERT_NE(file, nullptr);
    std::fprintf(file, "const ReferencePicture k_%s = {\"%s\", %d, %d, {", name.c_str(), name.c_str(),
                 shot.width(), shot.height());
    const std::vector<uint32_t> runs = RunsOf(shot);
    for (size_t i = 0; i < runs.size(); ++i)
        std::fprintf(file, "%s0x%08X,", i % 8 ? " " : "\n    ", static_cast<unsigned>(runs[i]));
    std::fprintf(file, "\n}};\n");
    std::fclose(file);
}

const ReferencePicture* FindReference(const std::string& name) {
    for (const ReferencePicture* picture : kReferencePictures)
        if (name == picture->name) return picture;
    return nullptr;
}

// Every pixel within the tolerance; else how many are not, and the first.
::testing::AssertionResult MatchesReference(const std::string& name, const Capture& shot) {
    const ReferencePicture* want = FindReference(name);
    if (!want) return ::testing::AssertionFailure() << "no reference picture " << name;
    if (want->width != shot.width() || want->height != shot.height())
        return ::testing::AssertionFailure() << name << ": the window is " << shot.width() << "x"
                                             << shot.height();
    const std::vector<Rgb> pixels = PixelsOf(want->runs);
    int differing = 0;
    std::string first;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const Rgb w = pixels[static_cast<size_t>(y) * shot.width() + x];
            const ::testing::AssertionResult same = noxd_test::Near(shot.At(x, y), w, kTolerance);
            if (same) continue;
            if (differing++ == 0) first = std::string(" first at (") + std::to_string(x) + ", " +
                                          std::to_string(y) + "): " + same.message();
        }
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ;" << first;
}

class OverlayReferenceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(view.status(), S_OK);
#ifdef NOXD_TEST_FALLBACK
        ASSERT_EQ(noxd_test::StatsOf(view.get()).path, static_cast<UINT>(NOXD_PATH_CPU));
#endif
    }

    // Draws a frame and checks the window against the reference `name`.
    void Expect(const std::string& name) { Check(name, view.Draw()); }

    void Check(const std::string& name, const Capture& shot) {
        if (ReferencesToWrite()) {
            AppendReference(name, shot);
            return;
        }
        EXPECT_TRUE(MatchesReference(name, shot));
    }

    void TearDown() override {
        if (ReferencesToWrite()) GTEST_SKIP() << "references written, nothing compared";
    }

    OsdView view{kWidth, kHeight};
    UINT_PTR slots[16] = {};
};

#ifdef NOXD_TEST_DIRECT_ROUTE
// The route these cases take is the direct one only if the GL in this process
// really lacks the clip origin the layer needs.
TEST_F(OverlayReferenceTest, RunsWhereTheGlHasNoClipOrigin) {
    const char* extensions = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ASSERT_NE(extensions, nullptr);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(std::strstr(extensions, "GL_ARB_clip_control"), nullptr);
    EXPECT_LT(std::atof(version), 4.5) << version;
}
#endif

// Opaque, translucent, dashed and thick: every geometric kind at once.
void AddShapes(NOXD_RENDERER r, UINT_PTR* slot) {
    ASSERT_EQ(noxd_add_osd_rectangle(r, slot++, 0.05f, 0.95f, 0.30f, 0.70f, 1, kOsdRed, 0, 1), S_OK);
    ASSERT_EQ(noxd_add_osd_rectangle(r, slot++, 0.20f, 0.80f, 0.45f, 0.55f, 3, kOsdBlue, 1, 0), S_OK);
    ASSERT_EQ(noxd_add_osd_rectangle(r, slot++, 0.10f, 0.60f, 0.40f, 0.40f, 1, 0x8000FF00, 0, 1), S_OK);
    ASSERT_EQ(noxd_add_osd_circle(r, slot++, 0.65f, 0.75f, 0.15f, 1, 0xFF00FFFF, 0, 1), S_OK);
    ASSERT_EQ(noxd_add_osd_circle(r, slot++, 0.85f, 0.75f, 0.10f, 2, kOsdGreen, 0, 0), S_OK);
    ASSERT_EQ(noxd_add_osd_circle2(r, slot++, 0.70f, 0.30f, 30, 12, 1, 2, 0xFFFF00FF, 0, 0), S_OK);
    ASSERT_EQ(noxd_add_osd_triangle(r, slot++, 0.05f, 0.05f, 0.25f, 0.35f, 0.45f, 0.05f, 1, 0xC0FFFF00,
                                    0, 1),
              S_OK);
    ASSERT_EQ(noxd_add_osd_triangle(r, slot++, 0.50f, 0.05f, 0.60f, 0.30f, 0.95f, 0.10f, 2, kOsdRed, 1,
                                    0),
              S_OK);
    ASSERT_EQ(noxd_add_osd_line(r, slot++, 0.0f, 0.5f, 1.0f, 0.45f, 2, 0xFFFFFFFF, 1), S_OK);
    ASSERT_EQ(noxd_add_osd_point(r, slot++, 0.90f, 0.40f, 6, kOsdBlue), S_OK);
}

// A 6 x 4 image with an alpha gradient, a keyed host bitmap and an anchored copy.
void AddImages(NOXD_RENDERER r, UINT_PTR* slot) {
    std::vector<uint32_t> pixels(24);
    for (int i = 0; i < 24; ++i)
        pixels[i] = static_cast<uint32_t>((40 + i * 9) << 24 | (i * 10) << 16 | 0x40 << 8 | (255 - i * 10));
    ASSERT_EQ(noxd_add_osd_bitmap_data32(r, slot++, pixels.data(), 6, 4, 0.05f, 0.95f, 0.45f, 0.55f, 0,
                                         0, 0),
              S_OK);
    HBITMAP keyed = Halves(0x00FF00FF, 0x0000C000);
    ASSERT_EQ(noxd_add_osd_bitmap_handle(r, slot++, keyed, 0.55f, 0.95f, 0.95f, 0.55f, 0, 0x00FF00FF,
                                         0x40),
              S_OK);
    ASSERT_EQ(noxd_add_osd_bitmap_handle(r, slot++, keyed, 0.10f, 0.40f, 0.30f, 0.20f, 4, 0x00FF00FF, 0),
              S_OK);
    DeleteObject(keyed);
}

void AddText(NOXD_RENDERER r, UINT_PTR* slot, const wchar_t* text, float top) {
    ASSERT_EQ(noxd_add_osd_text(r, slot, text, 20, L"Arial", 700, 0.05f, top, 0.95f, top - 0.3f, 0,
                                0xFFFFFFFF, 0x60000080, 0xFF000000, 2),
              S_OK);
}

TEST_F(OverlayReferenceTest, GeometricKinds) {
    AddShapes(view.get(), slots);
    Expect("shapes");
}

// A video position inside the window: the overlays reach past the picture's
// edges (the wide line), and the window around the picture is black.
TEST_F(OverlayReferenceTest, VideoPositionInsideTheWindow) {
    noxd_set_video_pos(view.get(), 0.1f, 0.85f, 0.9f, 0.1f);
    AddShapes(view.get(), slots);
    Expect("inset_shapes");
    noxd_set_video_pos(view.get(), 0, 1, 1, 0);
    Expect("shapes");
}

TEST_F(OverlayReferenceTest, ImagesAndText) {
    AddImages(view.get(), slots);
    AddText(view.get(), &slots[8], L"Cam 12 ok", 0.5f);
    Expect("images_and_text");
}

// Drawn, changed, drawn again: what was drawn before must not linger, what
// came since must show, and a deleted image's place must be free again.
TEST_F(OverlayReferenceTest, OverlaysAddedAndDeletedAfterEarlierFrames) {
    AddText(view.get(), &slots[0], L"first", 0.95f);
    Expect("warm_first");
    Expect("warm_first");
    AddImages(view.get(), &slots[1]);
    AddText(view.get(), &slots[0], L"second", 0.45f);
    ASSERT_EQ(noxd_add_osd_rectangle(view.get(), &slots[6], 0.6f, 0.3f, 0.9f, 0.1f, 1, kOsdGreen, 0, 1),
              S_OK);
    Expect("warm_added");
    ASSERT_EQ(noxd_delete_osd(view.get(), &slots[1]), S_OK);
    ASSERT_EQ(noxd_delete_osd(view.get(), &slots[6]), S_OK);
    Expect("warm_deleted");
    ASSERT_EQ(noxd_clear_osd(view.get()), S_OK);
    AddShapes(view.get(), slots);
    Expect("shapes");
}

// Normal, hover, pressed with an image of another size, normal again once
// released, and after the pointer left.
TEST_F(OverlayReferenceTest, ButtonThroughItsStates) {
    HBITMAP normal = Halves(0xFF2040C0, 0xFF20C040);
    std::vector<uint32_t> pressed_pixels(12 * 6, 0xFFC02020);
    HBITMAP pressed = Bitmap32(12, 6, pressed_pixels);
    HBITMAP hover = Halves(0x80FFFFFF, 0xFFFFC000);
    ASSERT_EQ(noxd_add_osd_button(view.get(), slots, nullptr, normal, pressed, hover, 0.25f, 0.75f, 0.75f,
                                  0.25f, 0, 0, 0),
              S_OK);
    const HWND window = noxd_get_hwnd(view.get());
    Expect("button_normal");
    noxd_test::SendMouse(window, WM_MOUSEMOVE, kWidth / 2, kHeight / 2);
    Expect("button_hover");
    noxd_test::SendMouse(window, WM_LBUTTONDOWN, kWidth / 2, kHeight / 2, MK_LBUTTON);
    Expect("button_pressed");
    noxd_test::SendMouse(window, WM_LBUTTONUP, kWidth / 2, kHeight / 2);
    Expect("button_normal");
    noxd_test::SendMouse(window, WM_MOUSEMOVE, 2, 2);
    Expect("button_normal");
    DeleteObject(normal);
    DeleteObject(pressed);
    DeleteObject(hover);
}

// The dashed band of the drag tool over a shape, and the redraw's "no video"
// cover over both.
TEST_F(OverlayReferenceTest, RubberBandAndNoVideoCover) {
    ASSERT_EQ(noxd_add_osd_rectangle(view.get(), slots, 0.1f, 0.9f, 0.5f, 0.5f, 1, kOsdRed, 0, 1), S_OK);
    noxd_show_drag_rect(view.get(), 1);
    const HWND window = noxd_get_hwnd(view.get());
    noxd_test::SendMouse(window, WM_LBUTTONDOWN, 30, 20, MK_LBUTTON);
    noxd_test::SendMouse(window, WM_MOUSEMOVE, 130, 90, MK_LBUTTON);
    Expect("band");
    ASSERT_EQ(noxd_set_stale_timeout(view.get(), 1, L"NO VIDEO"), S_OK);
    Sleep(20);
    ASSERT_EQ(noxd_redraw(view.get()), S_OK);
    noxd_test::PumpMessages();
    Check("band_no_video", Capture::SettledOfClient(window));
}

}  // namespace
