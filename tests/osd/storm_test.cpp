// Overlays and mouse input in a storm: while the GL thread draws as fast as
// it can, 8 host threads add, replace, delete and clear overlays of every
// kind and another thread sends mouse input through every tool, the zoom and
// buttons whose callbacks delete their own button. Nothing may crash or
// hang (a watchdog ends a stuck run), every overlay built is freed exactly
// once, and the list holds exactly the overlays not yet freed.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <vector>

#include "osd/osd_object.h"
#include "interaction/cgl_renderer.h"
#include "support/frames.h"
#include "support/process_probe.h"
#include "support/renderer_fixture.h"

namespace {

constexpr int kHostThreads = 8;
constexpr int kVariables = 4;  // handle variables of each host thread

std::atomic<bool> stop{false};
std::atomic<long> progress{0};  // every operation, frame and message counts
std::atomic<long> self_deletions{0};

void CALLBACK DeleteOwnButton(NOXD_RENDERER renderer, UINT_PTR button, UINT message, float, float) {
    if (message != WM_LBUTTONUP) return;
    UINT_PTR variable = button;
    if (noxd_delete_osd(renderer, &variable) == S_OK) ++self_deletions;
}

// One add of overlay kind `kind` into *variable, replacing what it named.
void AddOverlay(NOXD_RENDERER r, UINT_PTR* v, int kind, HBITMAP bitmap, float x, float y) {
    static const uint32_t pixels[4] = {0xFF0000FF, 0x8000FF00, 0x00FF0000, 0xFFFFFFFF};
    switch (kind) {
    case 0: noxd_add_osd_rectangle(r, v, x, y, x + 0.2f, y - 0.2f, 2, 0xFF00FF00, kind & 1, 0); break;
    case 1: noxd_add_osd_circle(r, v, x, y, 0.1f, 1, 0x800000FF, 0, 1); break;
    case 2: noxd_add_osd_circle2(r, v, x, y, 0.1f, 0.05f, 30, 1, 0xFFFF0000, 0, 0); break;
    case 3: noxd_add_osd_triangle(r, v, x, y, x + 0.1f, y, x, y - 0.1f, 1, 0xFFFFFFFF, 1, 1); break;
    case 4: noxd_add_osd_line(r, v, x, y, 1 - x, 1 - y, 3, 0xFF00FFFF, 1); break;
    case 5: noxd_add_osd_point(r, v, x, y, 4, 0xFFFF00FF); break;
    case 6: noxd_add_osd_bitmap_data32(r, v, pixels, 2, 2, x, y, x + 0.1f, y - 0.1f, 0, 0, 0); break;
    case 7: noxd_add_osd_bitmap_handle(r, v, bitmap, x, y, x + 0.1f, y - 0.1f, 0, 0x00FF00FF, 0); break;
    case 8:
        noxd_add_osd_text(r, v, L"storm", 12, L"Arial", 400, x, y, x + 0.2f, y - 0.1f, 1, 0xFFFFFFFF,
                          0x00000000, 0xFF000000, 1);
        break;
    default:
        noxd_add_osd_button(r, v, DeleteOwnButton, bitmap, bitmap, nullptr, 0, 1, 1, 0, 0, 0, 0);
        break;
    }
}

void HostThread(NOXD_RENDERER renderer, unsigned seed) {
    std::mt19937 random(seed);
    const uint32_t bits[64] = {};
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 32, bits);
    UINT_PTR variables[kVariables] = {};
    while (!stop) {
        UINT_PTR* v = &variables[random() % kVariables];
        const unsigned op = random() % 100;
        const float x = static_cast<float>(random() % 80) / 100, y = static_cast<float>(random() % 80 + 20) / 100;
        if (op < 75)
            AddOverlay(renderer, v, static_cast<int>(random() % 10), bitmap, x, y);
        else if (op < 99)
            noxd_delete_osd(renderer, v);
        else
            noxd_clear_osd(renderer);
        ++progress;
    }
    for (UINT_PTR& v : variables) noxd_delete_osd(renderer, &v);
    DeleteObject(bitmap);
}

// Presses, drags and releases across the window with the tools switched
// on and off in turn, which also hits the full-window buttons.
void MouseThread(NOXD_RENDERER renderer, HWND window, unsigned seed) {
    std::mt19937 random(seed);
    while (!stop) {
        switch (random() % 5) {
        case 0: noxd_enable_digital_zoom(renderer, random() % 2); break;
        case 1: noxd_show_drag_rect(renderer, random() % 2); break;
        case 2: noxd_set_privacy_mask_flag(renderer, random() % 2); break;
        case 3: noxd_start_motion_edit(renderer, random() % 2); break;
        default: break;
        }
        const int x0 = random() % 300, y0 = random() % 200;
        noxd_test::SendMouse(window, WM_LBUTTONDOWN, x0, y0, MK_LBUTTON);
        for (int step = 1; step <= 4; ++step)
            noxd_test::SendMouse(window, WM_MOUSEMOVE, x0 + 5 * step, y0 + 4 * step, MK_LBUTTON);
        noxd_test::SendMouse(window, WM_LBUTTONUP, x0 + 20, y0 + 16);
        if (random() % 8 == 0) noxd_test::SendMouse(window, WM_LBUTTONDBLCLK, x0, y0, MK_LBUTTON);
        ++progress;
    }
}

TEST(OsdStormTest, HostThreadsAndMouseAgainstTheDrawingThread) {
    // ./run soak sets NOXD_SOAK for the long form.
    const DWORD kStormMs = std::getenv("NOXD_SOAK") ? 600000 : 30000;
    const long built_before = OsdObjects().built, freed_before = OsdObjects().freed;
    noxd_test::ScopedRenderer view(NOXD_FORMAT_BGR32, 32, 32, 320, 240, L"noxd storm");
    ASSERT_EQ(view.status(), S_OK);
    const std::vector<uint8_t> frame = noxd_test::BgrFrame(NOXD_FORMAT_BGR32, 32, 32,
        [](int x, int y) { return noxd_test::Bgr{static_cast<uint8_t>(x * 8), static_cast<uint8_t>(y * 8), 90}; });
    const noxd_test::Watchdog watchdog("storm", progress, 30000);
    std::vector<std::thread> threads;
    for (int i = 0; i < kHostThreads; ++i) threads.emplace_back(HostThread, view.get(), 100u + i);
    threads.emplace_back(MouseThread, view.get(), view.window(), 7u);
    long frames = 0;
    HRESULT drawn = S_OK;
    // The storm lasts its time, and on a slow machine (the emulated guest)
    // goes on until it has drawn and built enough to have raced, up to four
    // times as long; the checks below then say what it fell short of.
    const auto raced_enough = [&] { return frames > 100 && OsdObjects().built - built_before > 1000; };
    for (const DWORD start = GetTickCount(); drawn == S_OK; ++frames) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= kStormMs && (raced_enough() || elapsed >= 4 * kStormMs)) break;
        drawn = noxd_draw_frame(view.get(), frame.data());
        ++progress;
    }
    EXPECT_EQ(drawn, S_OK);
    stop = true;
    for (std::thread& t : threads) t.join();

    // What is left in the list is exactly what was built and not yet freed.
    const long left = static_cast<long>(view.get()->osd.Objects().size());
    EXPECT_EQ(OsdObjects().built - built_before - (OsdObjects().freed - freed_before), left);
    noxd_clear_osd(view.get());
    EXPECT_EQ(OsdObjects().built - built_before, OsdObjects().freed - freed_before);
    EXPECT_GT(frames, 100);
    EXPECT_GT(OsdObjects().built - built_before, 1000);
    std::printf("storm: %ld frames, %ld overlays built, %ld buttons deleted by their own callback\n", frames,
                OsdObjects().built - built_before, self_deletions.load());
}

}  // namespace
