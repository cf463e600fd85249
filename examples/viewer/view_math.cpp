#include "view_math.h"

#include <algorithm>
#include <cstdio>

namespace viewer {

namespace {

float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

const char* MouseMessageName(unsigned message) {
    static const char* const kNames[] = {
        "WM_MOUSEMOVE",     "WM_LBUTTONDOWN", "WM_LBUTTONUP",     "WM_LBUTTONDBLCLK",
        "WM_RBUTTONDOWN",   "WM_RBUTTONUP",   "WM_RBUTTONDBLCLK", "WM_MBUTTONDOWN",
        "WM_MBUTTONUP",     "WM_MBUTTONDBLCLK", "WM_MOUSEWHEEL",  "WM_XBUTTONDOWN",
        "WM_XBUTTONUP",     "WM_XBUTTONDBLCLK", "WM_MOUSEHWHEEL"};
    const unsigned first = 0x0200;
    if (message < first || message - first >= sizeof kNames / sizeof kNames[0]) return nullptr;
    return kNames[message - first];
}

}  // namespace

std::string CaptionText(const std::string& camera_name, const ClockTime& t) {
    char clock[32];
    std::snprintf(clock, sizeof clock, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute, t.second);
    return camera_name + "  " + clock;
}

std::string MouseLine(unsigned message, float x, float y, uintptr_t wparam) {
    char line[96];
    const char* name = MouseMessageName(message);
    char number[16];
    if (!name) {
        std::snprintf(number, sizeof number, "0x%04X", message);
        name = number;
    }
    std::snprintf(line, sizeof line, "mouse %s x=%.4f y=%.4f wParam=0x%04llX", name, x, y,
                  static_cast<unsigned long long>(wparam));
    return line;
}

Corners PrivacyCorners(float x0, float y0, float x1, float y1) {
    const float scale = 10000.0f;
    const float left = Clamp01(std::min(x0, x1) / scale);
    const float right = Clamp01(std::max(x0, x1) / scale);
    const float top = Clamp01(1.0f - std::min(y0, y1) / scale);
    const float bottom = Clamp01(1.0f - std::max(y0, y1) / scale);
    return {left, top, right, bottom};
}

Corners NaturalTextCorners(float left, float top, int text_width, int text_height) {
    const int canvas_width = (text_width + 40) / 20 * 20;
    const int canvas_height = text_height + 4;
    return {left, top, left + canvas_width / 768.0f, top - canvas_height / 576.0f};
}

std::string StatsText(unsigned frames_last_second, unsigned average_draw_us, unsigned worst_draw_us,
                      unsigned frames_drawn) {
    char line[120];
    std::snprintf(line, sizeof line, "%u fps  draw %.2f ms mean %.2f ms worst  %u frames", frames_last_second,
                  average_draw_us / 1000.0, worst_draw_us / 1000.0, frames_drawn);
    return line;
}

double AverageFrameRate(uint64_t frames, uint64_t first_ms, uint64_t last_ms) {
    if (frames < 2 || last_ms <= first_ms) return 0.0;
    return static_cast<double>(frames - 1) * 1000.0 / static_cast<double>(last_ms - first_ms);
}

}  // namespace viewer
