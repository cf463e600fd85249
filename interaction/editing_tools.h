// The mouse editing tools: the drag rectangle, the privacy mask and the
// motion area. Each shows its rectangle as a rubber band while it is dragged
// and keeps the last one in the renderer.
#pragma once

#include <windows.h>

#include "frame_layout.h"
#include "pointer_math.h"

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

// The interaction's part of drawing a frame: the tools' per-frame step, then
// the zoom's choice of texture coordinates. GL thread, lock held.
void RunInteractionFrameStep(CGLRenderer& renderer, VideoQuad& quad);

// The host's switches, any thread, no lock: the drag rectangle is on only for
// exactly 1; switching a tool off ends its drag but leaves band, capture and
// released flag.
void SwitchDragRect(CGLRenderer& renderer, BOOL on);
void SwitchPrivacyMask(CGLRenderer& renderer, BOOL on);
void SwitchMotionEdit(CGLRenderer& renderer, BOOL on);

// Codes of noxd_get_tool_rect.
enum ToolCode { kToolZoom = 0, kToolPrivacy = 1, kToolMotion = 2 };

// What a tool's rectangle is in the whole frame's coordinates.
enum class ToolRectState { Known, NotYet, NoSuchTool };

// The tool's stored rectangle in the whole frame's coordinates (zoom, turn
// and mirror undone): the zoom window as stored; the privacy and motion
// rectangles, which are relative to the view, taken through the zoom
// window the last picture showed. Any thread; takes the lock.
ToolRectState ToolRectInFrame(CGLRenderer& renderer, int tool, RectF& rect);

}  // namespace noxd
