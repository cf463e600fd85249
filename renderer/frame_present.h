// Showing one frame: texture upload, video quad, overlays, buffer swap.
#pragma once

#include <windows.h>

struct CGLRenderer;

namespace noxd {

// The frame sequence behind noxd_draw_frame. GL thread only.
HRESULT PresentFrame(CGLRenderer& renderer, const void* frame);

// Drawn over the picture and the overlays before the swap. GL thread, lock held.
using PictureCover = void (*)(CGLRenderer& renderer);

// The frame sequence without a frame: the textures the last frame left are
// drawn again with the current overlays, zoom and tools, then `cover` if not
// null. Not counted by the frame-rate points. GL thread only.
HRESULT RedrawFrame(CGLRenderer& renderer, PictureCover cover);

}  // namespace noxd
