// Digital zoom: which part of the picture the video quad shows, chosen by a
// mouse drag, by the host's rectangle, or statically.
#pragma once

#include <windows.h>

#include "frame_layout.h"

struct CGLRenderer;

namespace noxd {

// Gesture steps, on the window's thread, with the message's client point.
void ZoomPress(CGLRenderer& renderer, int x, int y);
void ZoomMove(CGLRenderer& renderer, int x, int y);
void ZoomRelease(CGLRenderer& renderer, int x, int y);
void ZoomDoubleClick(CGLRenderer& renderer);

// The mouse zoom reacts while enabled and no host rectangle is in force.
bool ZoomArmed(const CGLRenderer& renderer);

// Whether a move draws the band shared by the zoom and the drag rectangle.
bool ZoomBandShown(const CGLRenderer& renderer);

// Replaces the quad's texture coordinates with those of the zoom window when
// a zoom is applied or static zoom is on. GL thread, lock held.
void ApplyZoomStep(CGLRenderer& renderer, VideoQuad& quad);

// The host's calls, any thread. Switching the mouse zoom off shows the whole
// picture. Takes the lock.
void SwitchDigitalZoom(CGLRenderer& renderer, BOOL on);
// Any window but the whole picture applies at once and locks out the mouse
// zoom. Takes the lock.
void SetHostZoomRect(CGLRenderer& renderer, float x0, float y0, float x1, float y1);
// Static zoom shows the stored window on every frame.
void SwitchStaticZoom(CGLRenderer& renderer, int value);
// Takes the lock.
void SetStaticZoomWindow(CGLRenderer& renderer, float left, float right, float top, float bottom);

}  // namespace noxd
