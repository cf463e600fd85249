// A small host of noxd: for each of the five frame formats it opens a
// renderer on a window of its own, plays the moving test pattern at 25 frames
// a second for a moment and saves a screenshot of the window as a PNG. Then
// it scripts the mouse: a digital zoom by drag, and a privacy-mask rubber band,
// and shows overlays of every kind over the pattern.
//   noxd_demo.exe OUTPUT_FOLDER
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/screen_capture.h"
#include "common/test_pattern.h"
#include "noxd.h"
#include "win32_owners.h"

namespace {

struct FormatInfo {
    int code;
    const char* name;
};

constexpr FormatInfo kFormats[] = {
    {NOXD_FORMAT_I420, "i420"}, {NOXD_FORMAT_UYVY, "uyvy"}, {NOXD_FORMAT_BGR32, "bgr32"},
    {NOXD_FORMAT_BGR24, "bgr24"}, {NOXD_FORMAT_YUY2, "yuy2"},
};

constexpr int kFrameWidth = 320;
constexpr int kFrameHeight = 240;
constexpr int kFramesPerFormat = 40;
constexpr DWORD kFrameIntervalMs = 40;

// Plays one format and saves its last frame as OUTPUT/noxd-<name>.png.
bool PlayFormat(const FormatInfo& format, const std::string& folder) {
    NOXD_RENDERER renderer = nullptr;
    const std::wstring title = L"noxd demo";
    HRESULT hr = noxd_create_renderer(nullptr, title.c_str(), 640, 480, format.code, kFrameWidth,
                                      kFrameHeight, &renderer);
    if (hr != S_OK) {
        std::printf("%-6s create failed: 0x%08lX\n", format.name, static_cast<unsigned long>(hr));
        return false;
    }
    for (int t = 0; t < kFramesPerFormat && hr == S_OK; ++t) {
        hr = noxd_draw_frame(renderer,
                             noxd_examples::PatternFrame(format.code, kFrameWidth, kFrameHeight, t).data());
        Sleep(kFrameIntervalMs);
    }
    const std::string path = folder + "\\noxd-" + format.name + ".png";
    const bool saved = hr == S_OK &&
                       noxd_examples::SavePng(noxd_examples::CaptureClientArea(noxd_get_hwnd(renderer)),
                                              path.c_str());
    noxd_release_renderer(renderer);
    if (hr != S_OK) std::printf("%-6s draw failed: 0x%08lX\n", format.name, static_cast<unsigned long>(hr));
    else if (saved) std::printf("%-6s %d frames, screenshot %s\n", format.name, kFramesPerFormat, path.c_str());
    else std::printf("%-6s cannot write %s\n", format.name, path.c_str());
    return saved;
}

// Mouse messages as a user's drag produces them, handled on the window's thread.
void SendMouse(HWND window, UINT message, int x, int y) {
    SendMessageW(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
}

void PlayFrames(NOXD_RENDERER renderer, int first, int count) {
    for (int t = first; t < first + count; ++t) {
        noxd_draw_frame(renderer,
                        noxd_examples::PatternFrame(NOXD_FORMAT_YUY2, kFrameWidth, kFrameHeight, t).data());
        Sleep(kFrameIntervalMs);
    }
}

bool SaveShot(NOXD_RENDERER renderer, const std::string& path, const char* what) {
    const bool saved =
        noxd_examples::SavePng(noxd_examples::CaptureClientArea(noxd_get_hwnd(renderer)), path.c_str());
    std::printf("%-6s %s %s\n", what, saved ? "screenshot" : "cannot write", path.c_str());
    return saved;
}

// Drags a zoom rectangle over the right half, then draws a privacy band
// and shoots it while the button is still down.
bool PlayMouseScript(const std::string& folder) {
    NOXD_RENDERER renderer = nullptr;
    if (noxd_create_renderer(nullptr, L"noxd demo", 640, 480, NOXD_FORMAT_YUY2, kFrameWidth,
                             kFrameHeight, &renderer) != S_OK)
        return false;
    HWND window = noxd_get_hwnd(renderer);
    noxd_enable_digital_zoom(renderer, 1);
    PlayFrames(renderer, 0, 10);
    SendMouse(window, WM_LBUTTONDOWN, 320, 120);
    for (int step = 1; step <= 8; ++step) {
        SendMouse(window, WM_MOUSEMOVE, 320 + step * 40, 120 + step * 30);
        PlayFrames(renderer, 10 + step, 1);
    }
    SendMouse(window, WM_LBUTTONUP, 639, 360);
    PlayFrames(renderer, 20, 15);
    bool ok = SaveShot(renderer, folder + "\\noxd-zoom.png", "zoom");

    SendMouse(window, WM_LBUTTONDBLCLK, 10, 10);
    noxd_enable_digital_zoom(renderer, 0);
    noxd_set_privacy_mask_flag(renderer, 1);
    SendMouse(window, WM_LBUTTONDOWN, 160, 120);
    SendMouse(window, WM_MOUSEMOVE, 480, 360);
    PlayFrames(renderer, 40, 5);
    ok = SaveShot(renderer, folder + "\\noxd-band.png", "band") && ok;
    SendMouse(window, WM_LBUTTONUP, 480, 360);
    noxd_release_renderer(renderer);
    return ok;
}

// A 64x64 blue-green-red-alpha logo: a diagonal gradient with a see-through ring.
std::vector<uint32_t> LogoPixels() {
    std::vector<uint32_t> pixels(64 * 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const int dx = x - 32, dy = y - 32, r2 = dx * dx + dy * dy;
            const uint32_t alpha = (r2 > 20 * 20 && r2 < 26 * 26) ? 0x40u : 0xFFu;
            pixels[y * 64 + x] = alpha << 24 | static_cast<uint32_t>(x * 4) << 16 |
                                 static_cast<uint32_t>(y * 4) << 8 | 0x80u;
        }
    return pixels;
}

// One of each overlay kind; the handle variables live as long as the renderer.
struct OverlayScene {
    UINT_PTR band = 0, outline = 0, circle = 0, ellipse = 0, triangle = 0, line = 0, point = 0,
             logo = 0, text = 0, button = 0;
};

bool AddOverlays(NOXD_RENDERER r, OverlayScene& o, HBITMAP button_image) {
    const std::vector<uint32_t> logo = LogoPixels();
    const HRESULT results[] = {
        noxd_add_osd_rectangle(r, &o.band, 0.0f, 0.12f, 1.0f, 0.0f, 1, 0x80000000u, 0, 1),
        noxd_add_osd_rectangle(r, &o.outline, 0.05f, 0.95f, 0.45f, 0.55f, 2, 0xFF00FFFFu, 1, 0),
        noxd_add_osd_circle(r, &o.circle, 0.75f, 0.75f, 0.12f, 1, 0x800000FFu, 0, 1),
        noxd_add_osd_circle2(r, &o.ellipse, 0.75f, 0.75f, 90.0f, 40.0f, 1, 2, 0xFFFFFF00u, 0, 0),
        noxd_add_osd_triangle(r, &o.triangle, 0.10f, 0.20f, 0.30f, 0.45f, 0.40f, 0.20f, 1,
                              0xC000FF00u, 0, 1),
        noxd_add_osd_line(r, &o.line, 0.5f, 0.15f, 0.95f, 0.45f, 3, 0xFFFFFFFFu, 0),
        noxd_add_osd_point(r, &o.point, 0.5f, 0.5f, 12, 0xFF0000FFu),
        noxd_add_osd_bitmap_data32(r, &o.logo, logo.data(), 64, 64, 0.85f, 0.35f, 0.97f, 0.17f, 0,
                                   0, 0),
        noxd_add_osd_text(r, &o.text, L"Camera 1  noxd demo", 20, L"Arial", FW_BOLD, 0.02f, 0.11f,
                          0.6f, 0.01f, 1, 0xFFFFFFFFu, 0x00000000u, 0xFF000000u, 1),
        noxd_add_osd_button(r, &o.button, nullptr, button_image, nullptr, nullptr, 0.55f, 0.95f,
                            0.65f, 0.85f, 0, 0, 0),
    };
    bool ok = true;
    for (HRESULT hr : results) ok = ok && hr == S_OK;
    return ok;
}

// A 32x32 red button face with a white frame.
HBITMAP MakeButtonImage() {
    std::vector<uint32_t> face(32 * 32, 0xFFC02020u);
    for (int i = 0; i < 32; ++i)
        face[i] = face[31 * 32 + i] = face[i * 32] = face[i * 32 + 31] = 0xFFFFFFFFu;
    return CreateBitmap(32, 32, 1, 32, face.data());
}

bool PlayOverlayScene(const std::string& folder) {
    NOXD_RENDERER renderer = nullptr;
    if (noxd_create_renderer(nullptr, L"noxd demo", 640, 480, NOXD_FORMAT_YUY2, kFrameWidth,
                             kFrameHeight, &renderer) != S_OK)
        return false;
    OverlayScene scene;
    bool ok;
    {
        // The button keeps its own copy of the pixels.
        const noxd::UniqueBitmap button_image(MakeButtonImage());
        ok = AddOverlays(renderer, scene, button_image.get());
    }
    PlayFrames(renderer, 0, 25);
    ok = SaveShot(renderer, folder + "\\noxd-overlays.png", "osd") && ok;
    if (!ok) std::printf("osd    an overlay could not be added\n");
    noxd_release_renderer(renderer);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    bool all_ok = true;
    for (const FormatInfo& format : kFormats) all_ok = PlayFormat(format, folder) && all_ok;
    all_ok = PlayMouseScript(folder) && all_ok;
    all_ok = PlayOverlayScene(folder) && all_ok;
    return all_ok ? 0 : 1;
}
