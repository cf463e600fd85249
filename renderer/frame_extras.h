// What the renderer does around drawing a new frame for the exports beyond
// the frame itself: the colour space a host asked for, the statistics, and
// redraws with their "no video" picture.
#pragma once

#include <windows.h>

#include "frame_present.h"
#include "frame_stats.h"

namespace noxd {

struct RendererCore;

// noxd_draw_frame's sequence: the requested colour space is put in force,
// the frame is presented, and a frame shown is counted with the time the
// call took. GL thread only.
HRESULT PresentNewFrame(RendererCore& renderer, const void* frame);

// The cover a picture drawn now gets: the "no video" one once no frame has
// come for the timeout, else none. Any thread.
PictureCover CoverDueNow(RendererCore& renderer);

// noxd_redraw: the last frame again, with the "no video" cover once no frame
// has come for the timeout. S_FALSE, drawing nothing, before the first
// frame. GL thread only.
HRESULT RedrawLastFrame(RendererCore& renderer);

// The statistics as of now. Any thread; holds only the statistics mutex.
FrameStatsSummary ReadFrameStats(RendererCore& renderer);

}  // namespace noxd
