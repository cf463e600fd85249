// Digital zoom: which part of the picture the video quad shows.
#pragma once

#include "renderer/frame_layout.h"

struct CGLRenderer;

namespace noxd {

// Replaces the quad's texture coordinates with those of the zoom window when
// a zoom is applied; leaves the whole picture otherwise. Lock held.
void ApplyZoomStep(CGLRenderer& renderer, VideoQuad& quad);

}  // namespace noxd
