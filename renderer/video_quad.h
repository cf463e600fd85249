// The picture-drawing step: one textured quad filling the viewport.
#pragma once

namespace noxd {

struct RendererCore;

// Clears the window to black and draws the frame's textures upright into the
// viewport, after the per-frame steps of the layers above (the hook
// prepare_video_quad) have chosen the part of the picture shown.
// GL thread, renderer lock held, program current.
void DrawVideoQuad(RendererCore& renderer);

// Clears to black and draws the whole picture upright into the viewport,
// with no zoom and no tool step. GL thread, lock held, program current.
void DrawWholePicture(RendererCore& renderer);

}  // namespace noxd
