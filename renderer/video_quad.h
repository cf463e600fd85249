// The picture-drawing step: one textured quad filling the viewport.
#pragma once

struct CGLRenderer;

namespace noxd {

// Clears the window to black and draws the frame's textures upright into the
// viewport, through the editing tools' and the zoom's per-frame steps.
// GL thread, renderer lock held, program current.
void DrawVideoQuad(CGLRenderer& renderer);

}  // namespace noxd
