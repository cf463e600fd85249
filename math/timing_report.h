// Frame-rate counting at a named point of the frame path, and the text of its
// reports; free of Windows so the arithmetic and layout can be tested alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace noxd {

constexpr uint32_t kReportIntervalMs = 59990;
constexpr size_t kMinLabelWidth = 40;

struct TimingPoint {
    uint32_t report_interval = kReportIntervalMs;
    uint32_t last_report = 0;
    uint32_t pass_count = 0;
    std::string label;       // "CGLRenderer::PutVideo (line N)"
    std::string point_name;  // "PutVideo", "SwapBuffers"
};

// A point set up at time `now`; `label_width` grows to fit its label.
TimingPoint MakeTimingPoint(const char* point_name, int line, uint32_t now, size_t& label_width);

// Counts one pass at time `now` (a wrapping millisecond clock); returns the
// report text when the interval has passed, and then starts a new interval.
std::optional<std::string> PassTimingPoint(TimingPoint& point, uint32_t now, size_t label_width);

// "<label padded to label_width+4>FPS=<rate, padded to 14><point name>"
std::string FormatRateReport(const TimingPoint& point, size_t label_width, double rate);

// The debugger-output line: "MYDBG 0x%4.4X %s\n", the message cut at 511 characters.
std::string FormatDebugLine(uint32_t thread_id, const std::string& message);

// The same line written into a caller's buffer, for paths that must not allocate.
constexpr size_t kDebugLineSize = 600;
void FormatDebugLineInto(char (&line)[kDebugLineSize], uint32_t thread_id, const char* message);

}  // namespace noxd
