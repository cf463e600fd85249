// What the renderer does around drawing a new frame for the exports beyond
// the frame itself: the colour space a host asked for.
#pragma once

#include <windows.h>

struct CGLRenderer;

namespace noxd {

// noxd_draw_frame's sequence: the requested colour space is put in force,
// then the frame is presented. GL thread only.
HRESULT PresentNewFrame(CGLRenderer& renderer, const void* frame);

}  // namespace noxd
