// The two process-wide frame-rate points of the frame path; each reports its
// rate to the debugger output about once a minute.
#pragma once

#include <cstdint>

namespace noxd {

// The millisecond clock of the points: the multimedia timer unless a test
// puts its own in (nullptr puts the timer back).
using TimingClock = uint32_t (*)();
void SetTimingClock(TimingClock clock);

// First step of every frame, before the renderer lock.
void PassFrameEntryPoint();

// Writes "MYDBG 0x<thread> <message>" to the debugger output.
void WriteDebugLine(const char* message) noexcept;

// Right after the buffer swap, under the drawing renderer's lock.
void PassSwapPoint();

}  // namespace noxd
