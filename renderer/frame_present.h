// Showing one frame: texture upload, video quad, overlays, buffer swap.
#pragma once

#include <windows.h>

namespace noxd {

struct RendererCore;

// The frame sequence behind noxd_draw_frame. GL thread only.
HRESULT PresentFrame(RendererCore& renderer, const void* frame);

// Drawn over the picture and the overlays before the swap. GL thread, lock held.
using PictureCover = void (*)(RendererCore& renderer);

// Draws a quad through the program. GL thread, lock held, program current.
using QuadStep = void (*)(RendererCore& renderer);

// The picture through the program: the textures loaded from `frame`, or
// with a null frame bound as the last frame left them, then `quad` draws.
// GL thread, lock held, the renderer's program built.
void DrawPicture(RendererCore& renderer, const void* frame, QuadStep quad);

// The view into the bound framebuffer, without a swap: the picture with the
// zoom and tools' steps, the overlays, then `cover` if not null. E_FAIL
// without a program. GL thread, lock held.
HRESULT DrawView(RendererCore& renderer, const void* frame, PictureCover cover);

// The frame sequence without a frame: the textures the last frame left are
// drawn again with the current overlays, zoom and tools, then `cover` if not
// null. Not counted by the frame-rate points. GL thread only.
HRESULT RedrawFrame(RendererCore& renderer, PictureCover cover);

}  // namespace noxd
