// The picture-drawing step: one textured quad filling the viewport.
#pragma once

struct CGLRenderer;

namespace noxd {

// Clears the window to black and draws the frame's textures upright into the
// viewport, through the editing tools' and the zoom's per-frame steps.
// GL thread, renderer lock held, program current.
void DrawVideoQuad(CGLRenderer& renderer);

// Clears to black and draws the whole picture upright into the viewport,
// with no zoom and no tool step. GL thread, lock held, program current.
void DrawWholePicture(CGLRenderer& renderer);

}  // namespace noxd
