#include "timing_report.h"

#include <algorithm>
#include <cstdio>

namespace noxd {

TimingPoint MakeTimingPoint(const char* point_name, int line, uint32_t now, size_t& label_width) {
    TimingPoint point;
    char label[260];
    std::snprintf(label, sizeof label, "%s (line %d)", "CGLRenderer::PutVideo", line);
    point.label = label;
    point.point_name = point_name;
    point.last_report = now;
    label_width = std::max({label_width, point.label.size(), kMinLabelWidth});
    return point;
}

// Pads `text` with spaces, or cuts it, to exactly `width` characters.
static std::string Fit(std::string text, size_t width) {
    text.resize(width, ' ');
    return text;
}

std::string FormatRateReport(const TimingPoint& point, size_t label_width, double rate) {
    char fps[64];
    std::snprintf(fps, sizeof fps, "FPS=%.3f", rate);
    return Fit(point.label, label_width + 4) + Fit(fps, 14) + point.point_name;
}

std::optional<std::string> PassTimingPoint(TimingPoint& point, uint32_t now, size_t label_width) {
    ++point.pass_count;
    const int32_t diff = static_cast<int32_t>(now - point.last_report);
    // The absolute difference of INT32_MIN is taken in unsigned arithmetic.
    const uint32_t elapsed = diff < 0 ? 0u - static_cast<uint32_t>(diff) : static_cast<uint32_t>(diff);
    if (elapsed < point.report_interval) return std::nullopt;
    const double rate = point.pass_count / (elapsed / 1000.0);
    std::string report = FormatRateReport(point, label_width, rate);
    point.last_report = now;
    point.pass_count = 0;
    return report;
}

void FormatDebugLineInto(char (&line)[kDebugLineSize], uint32_t thread_id, const char* message) {
    std::snprintf(line, sizeof line, "MYDBG 0x%4.4X %.511s\n", static_cast<unsigned>(thread_id),
                  message);
}

std::string FormatDebugLine(uint32_t thread_id, const std::string& message) {
    char line[kDebugLineSize];
    FormatDebugLineInto(line, thread_id, message.c_str());
    return line;
}

}  // namespace noxd
