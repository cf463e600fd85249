// The mouse editing tools: the drag rectangle, the privacy mask and the
// motion area. Each shows its rectangle as a rubber band while it is dragged
// and keeps the last one in the renderer.
#pragma once

struct CGLRenderer;

namespace noxd {

// Gesture steps of all armed tools in their fixed order (drag rectangle,
// zoom, privacy mask, motion area), on the window's thread.
void ToolsPress(CGLRenderer& renderer, int x, int y);
void ToolsMove(CGLRenderer& renderer, int x, int y);
void ToolsRelease(CGLRenderer& renderer, int x, int y);

// Per-frame step: removes bands whose drag has ended and clamps the stored
// rectangles. GL thread, lock held.
void RunEditingToolsFrameStep(CGLRenderer& renderer);

}  // namespace noxd
