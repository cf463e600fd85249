// The mouse editing tools (drag rectangle, privacy mask, motion area).
#pragma once

struct CGLRenderer;

namespace noxd {

// Per-frame step of the tools: removes expired rubber bands and clamps the
// stored rectangles. Lock held.
void RunEditingToolsFrameStep(CGLRenderer& renderer);

}  // namespace noxd
