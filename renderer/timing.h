// The two process-wide frame-rate points of the frame path; each reports its
// rate to the debugger output about once a minute.
#pragma once

namespace noxd {

// First step of every frame, before the renderer lock.
void PassFrameEntryPoint();

// Right after the buffer swap, under the drawing renderer's lock.
void PassSwapPoint();

}  // namespace noxd
