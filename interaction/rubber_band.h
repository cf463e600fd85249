// The rubber band: the dashed yellow rectangle with which the zoom and the
// editing tools show the rectangle being dragged.
#pragma once

#include <windows.h>

#include "pointer_math.h"

struct CGLRenderer;

namespace noxd {

struct DragRecord;

// Under the renderer lock: replaces the band in `slot` by one from (x0, y0)
// to (x1, y1) (client pixels) and stores the sorted rectangle in `result`,
// when `show` holds. Identical points only remove the band.
void UpdateRubberBand(CGLRenderer& renderer, UINT_PTR* slot, RectF* result, bool show, int x0,
                      int y0, int x1, int y1);

// Removes the band in `slot`, if any.
void RemoveRubberBand(CGLRenderer& renderer, UINT_PTR* slot);

// Press step shared by the tools: removes the old band, takes the capture
// and starts the drag at (x, y).
void BeginBandDrag(CGLRenderer& renderer, UINT_PTR* slot, DragRecord& drag, int x, int y);

// Move step shared by the tools: follows the pointer with the band.
void FollowBandDrag(CGLRenderer& renderer, UINT_PTR* slot, RectF* result, bool show,
                    DragRecord& drag, int x, int y);

// Release step shared by the tools: stores the final point, gives the
// capture back and ends the drag; true when a drag was active. The band and
// the result keep what the last move made of them.
bool EndBandDrag(DragRecord& drag, int x, int y);

// A client point of the renderer's window in picture coordinates: the
// video area's normalized coordinates taken through the picture rectangle
// and the turn and mirror last drawn (values outside 0..1 in the bars). With
// the picture stretched, unturned, these are the video area's coordinates.
PointF NormalizedPointIn(const CGLRenderer& renderer, int px, int py);

}  // namespace noxd
