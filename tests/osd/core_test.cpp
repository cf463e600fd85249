// White-box cases against the static core, for what the interface does not
// show: button states and button_count, the dash pattern under the lock, the
// text canvas of the rasteriser, and pixel memory given back on removal.
#include <gtest/gtest.h>
#include <windows.h>

#include <psapi.h>

#include "osd/osd_button.h"
#include "osd/osd_text.h"
#include "osd_view.h"
#include "interaction/cgl_renderer.h"

using namespace noxd_osd_test;

namespace {

COsdButton& OnlyButton(NOXD_RENDERER r) {
    EXPECT_EQ(r->osd.Objects().size(), 1u);
    EXPECT_EQ(r->osd.Objects().front()->kind, kOsdButton);
    return static_cast<COsdButton&>(*r->osd.Objects().front());
}

// Left half `left`, right half `right`, in an image w x h.
HBITMAP HalvesOfSize(int w, int h, uint32_t left, uint32_t right) {
    std::vector<uint32_t> pixels(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels[y * w + x] = x < w / 2 ? left : right;
    return Bitmap32(w, h, pixels);
}

TEST(OsdButtonTest, StateChoosesTheImageAndEachImageKeepsItsOwnSize) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    // Normal 2 x 2 red; pressed 16 x 16 green|blue; hover 1 x 1 white. Read
    // at the normal image's size, the pressed one would come out all green.
    HBITMAP normal = HalvesOfSize(2, 2, 0xFFFF0000, 0xFFFF0000);
    HBITMAP pressed = HalvesOfSize(16, 16, 0xFF00FF00, 0xFF0000FF);
    HBITMAP hover = HalvesOfSize(1, 1, 0xFFFFFFFF, 0xFFFFFFFF);
    UINT_PTR slot = 0;
    ASSERT_EQ(noxd_add_osd_button(v.get(), &slot, nullptr, normal, pressed, hover, 0, 1, 1, 0, 0, 0, 0), S_OK);
    for (HBITMAP b : {normal, pressed, hover}) DeleteObject(b);
    COsdButton& button = OnlyButton(v.get());
    EXPECT_EQ(button.handle, slot);

    Capture shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 100, 150, kRed));
    EXPECT_TRUE(Shows(shot, 300, 150, kRed));
    button.state = kButtonPressed;
    shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 100, 150, kGreen));
    EXPECT_TRUE(Shows(shot, 300, 150, kBlue));
    button.state = kButtonHover;
    shot = v.Draw();
    EXPECT_TRUE(Shows(shot, 100, 150, kWhite));
    EXPECT_TRUE(Shows(shot, 300, 150, kWhite));
}

TEST(OsdButtonTest, MissingPressedImageShowsTheNormalOne) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    HBITMAP normal = HalvesOfSize(2, 2, 0xFFFF0000, 0xFFFF0000);
    UINT_PTR slot = 0;
    ASSERT_EQ(noxd_add_osd_button(v.get(), &slot, nullptr, normal, nullptr, nullptr, 0, 1, 1, 0, 0, 0, 0), S_OK);
    DeleteObject(normal);
    OnlyButton(v.get()).state = kButtonPressed;
    EXPECT_TRUE(Shows(v.Draw(), 200, 150, kRed));
    OnlyButton(v.get()).state = kButtonHover;
    EXPECT_TRUE(Shows(v.Draw(), 200, 150, kRed));
}

TEST(OsdButtonTest, ButtonCountFollowsAddDeleteClearAndFailures) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    NOXD_RENDERER r = v.get();
    HBITMAP normal = HalvesOfSize(2, 2, 0xFFFF0000, 0xFFFF0000);
    UINT_PTR a = 0, b = 0, c = 0;
    ASSERT_EQ(noxd_add_osd_button(r, &a, nullptr, normal, nullptr, nullptr, 0, 1, 1, 0, 0, 0, 0), S_OK);
    ASSERT_EQ(noxd_add_osd_button(r, &b, nullptr, normal, nullptr, nullptr, 0, 1, 1, 0, 0, 0, 0), S_OK);
    EXPECT_EQ(r->osd.ButtonCount(), 2);
    EXPECT_EQ(noxd_delete_osd(r, &a), S_OK);
    EXPECT_EQ(r->osd.ButtonCount(), 1);
    // Failed buttons leave the count alone: no normal image, or one that cannot be read.
    EXPECT_EQ(noxd_add_osd_button(r, &c, nullptr, nullptr, normal, nullptr, 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG);
    const uint8_t mono[2] = {};
    HBITMAP one_bit = CreateBitmap(8, 1, 1, 1, mono);
    EXPECT_EQ(noxd_add_osd_button(r, &c, nullptr, one_bit, nullptr, nullptr, 0, 1, 1, 0, 0, 0, 0), E_INVALIDARG);
    EXPECT_EQ(r->osd.ButtonCount(), 1);
    // Replacing a button through its variable counts the new one only.
    ASSERT_EQ(noxd_add_osd_button(r, &b, nullptr, normal, nullptr, nullptr, 0, 1, 1, 0, 0, 0, 0), S_OK);
    EXPECT_EQ(r->osd.ButtonCount(), 1);
    EXPECT_EQ(noxd_clear_osd(r), S_OK);
    EXPECT_EQ(r->osd.ButtonCount(), 0);
    DeleteObject(normal);
    DeleteObject(one_bit);
}

struct DashWriter {
    NOXD_RENDERER renderer;
    static DWORD WINAPI Run(void* self) {
        noxd_set_dash_mask(static_cast<DashWriter*>(self)->renderer, 0x1234);
        return 0;
    }
};

// A draw pass holds the lock while an object has its own pattern swapped in;
// a new pattern set meanwhile must survive the swap back.
TEST(OsdDashMaskTest, SetWhileADrawPassHoldsTheLockIsNotUndone) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    NOXD_RENDERER r = v.get();
    DashWriter writer{r};
    HANDLE thread = nullptr;
    {
        noxd::ScopedRendererLock pass(r->lock);
        r->osd.SwapInDashMask(0xAAAA);
        thread = CreateThread(nullptr, 0, DashWriter::Run, &writer, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        // The writer must wait for the pass; give it every chance to run.
        EXPECT_EQ(WaitForSingleObject(thread, 200), static_cast<DWORD>(WAIT_TIMEOUT));
        r->osd.RestoreDashMask();
    }
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_EQ(r->osd.CurrentDashMask(), 0x1234);
}

// The canvas the rasteriser makes for a string follows its measured extent.
TEST(OsdTextRasterTest, CanvasIsTheExtentWithMarginsRoundedToTwenty) {
    const wchar_t* strings[] = {L"I", L"Camera 1", L"2024-06-11 12:00:00", L"WWWWWWWWWW"};
    for (const wchar_t* text : strings) {
        for (int height : {12, 16, 33}) {
            const noxd::TextStyle style = {height, L"Arial", 400, 0xFFFFFFFF, 0x00FF00FF, 0xFF000000, 1};
            noxd::PixelImage image;
            ASSERT_EQ(noxd::RasterizeOsdText(text, style, image), S_OK);
            HDC screen = GetDC(nullptr);
            HDC dc = CreateCompatibleDC(screen);
            HFONT font = CreateFontW(height, 0, 0, 0, 400, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_CHARACTER_PRECIS,
                                     CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Arial");
            HGDIOBJ old = SelectObject(dc, font);
            SIZE extent = {};
            GetTextExtentPointW(dc, text, static_cast<int>(wcslen(text)), &extent);
            SelectObject(dc, old);
            DeleteObject(font);
            DeleteDC(dc);
            ReleaseDC(nullptr, screen);
            const noxd::CanvasSize want = noxd::TextCanvasSize(extent.cx, extent.cy);
            EXPECT_EQ(static_cast<int>(image.width), want.width) << extent.cx;
            EXPECT_EQ(static_cast<int>(image.height), want.height) << extent.cy;
            EXPECT_EQ(image.width % 20, 0u);
        }
    }
}

size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters.PrivateUsage;
}

// Objects are freed without destructors; their pixels must still go back.
TEST(OsdMemoryTest, RemovedImagesGiveTheirPixelsBack) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    const std::vector<uint32_t> pixels(1024 * 1024, 0xFF808080);  // 4 MiB an image
    UINT_PTR slot = 0;
    ASSERT_EQ(noxd_add_osd_bitmap_data32(v.get(), &slot, pixels.data(), 1024, 1024, 0, 1, 1, 0, 0, 0, 0), S_OK);
    ASSERT_EQ(noxd_delete_osd(v.get(), &slot), S_OK);
    const size_t before = PrivateBytes();
    for (int i = 0; i < 64; ++i) {
        ASSERT_EQ(noxd_add_osd_bitmap_data32(v.get(), &slot, pixels.data(), 1024, 1024, 0, 1, 1, 0, 0, 0, 0), S_OK);
        if (i % 2) {
            ASSERT_EQ(noxd_clear_osd(v.get()), S_OK);
        }
    }
    noxd_clear_osd(v.get());
    // 64 leaked images would be 256 MiB.
    EXPECT_LT(PrivateBytes(), before + 32u * 1024 * 1024);
}

}  // namespace
