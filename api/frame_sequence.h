// What a view shows, composed from every layer: a new frame, a redraw of the
// last one and a snapshot. Each reads top to bottom in frame_sequence.cpp.
#pragma once

#include <windows.h>

#include "cgl_renderer.h"
#include "image_files.h"

namespace noxd {

// noxd_draw_frame and noxd_draw_planes: `frame` uploaded (its size and
// format becoming the ones shown), the view drawn and shown, the frame
// counted. E_FAIL without a program. GL thread only.
HRESULT ShowFrame(CGLRenderer& renderer, const FramePlanes& frame);

// noxd_redraw: the last frame's textures drawn again with the current
// overlays, zoom, tools and colour space, under the "no video" cover once
// no frame has come for the timeout. S_FALSE before the first frame; not
// counted as a frame. GL thread only.
HRESULT RedrawView(CGLRenderer& renderer);

// A snapshot drawn into a framebuffer of its own and read back: the frame
// at its own size, or the view as a redraw would show it now.
// NOXD_E_NO_FRAME before the first frame; E_FAIL without a program or
// framebuffer objects, or for an empty window. GL thread only.
HRESULT TakeSnapshot(CGLRenderer& renderer, int what, Picture& picture);

}  // namespace noxd
