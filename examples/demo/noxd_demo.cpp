// A small host of noxd: for each of the five frame formats it opens a
// renderer on a window of its own, plays the moving test pattern at 25 frames
// a second for a moment and saves a screenshot of the window as a PNG. Then
// it scripts the mouse: a digital zoom by drag, and a privacy-mask rubber band.
//   noxd_demo.exe OUTPUT_FOLDER
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/screen_capture.h"
#include "common/test_pattern.h"
#include "noxd.h"

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

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    bool all_ok = true;
    for (const FormatInfo& format : kFormats) all_ok = PlayFormat(format, folder) && all_ok;
    all_ok = PlayMouseScript(folder) && all_ok;
    return all_ok ? 0 : 1;
}
