#include "timing.h"

#include <windows.h>
#include <mmsystem.h>

#include <mutex>
#include <optional>

#include "slim_lock.h"
#include "timing_report.h"

namespace noxd {

namespace {

// Renderers of one process draw on different threads at once; this lock
// serialises the shared points. Held only for the counting, never with a GL call.
SlimLock timing_lock;
size_t label_width = 0;
std::optional<TimingPoint> frame_entry;
std::optional<TimingPoint> buffer_swap;
TimingClock test_clock = nullptr;

uint32_t Now() { return test_clock ? test_clock() : timeGetTime(); }

void Pass(std::optional<TimingPoint>& point, const char* name, int line) {
    std::optional<std::string> report;
    {
        std::lock_guard<SlimLock> hold(timing_lock);
        const uint32_t now = Now();
        if (!point) point = MakeTimingPoint(name, line, now, label_width);
        report = PassTimingPoint(*point, now, label_width);
    }
    if (report) WriteDebugLine(report->c_str());
}

}  // namespace

void WriteDebugLine(const char* message) noexcept {
    char line[kDebugLineSize];
    FormatDebugLineInto(line, GetCurrentThreadId(), message);
    OutputDebugStringA(line);
}

void SetTimingClock(TimingClock new_clock) {
    std::lock_guard<SlimLock> hold(timing_lock);
    test_clock = new_clock;
}

void PassFrameEntryPoint() { Pass(frame_entry, "PutVideo", 938); }

void PassSwapPoint() { Pass(buffer_swap, "SwapBuffers", 1079); }

}  // namespace noxd
