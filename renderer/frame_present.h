// Showing one frame: texture upload, video quad, overlays, buffer swap.
#pragma once

#include <windows.h>

struct CGLRenderer;

namespace noxd {

// The frame sequence behind noxd_draw_frame. GL thread only.
HRESULT PresentFrame(CGLRenderer& renderer, const void* frame);

}  // namespace noxd
