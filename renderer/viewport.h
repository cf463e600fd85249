// Placing the video inside the window: the GL viewport from the video position.
#pragma once

#include <cstdint>

namespace noxd {

struct RendererCore;

// Applies the viewport from the stored video position and the window's
// client size. Takes no lock; the GL call only counts on the GL thread.
void ApplyViewport(RendererCore& renderer);

// A viewport over the whole of a target of width x height, e.g. an
// offscreen picture. GL thread.
void ApplyWholeViewport(RendererCore& renderer, int32_t width, int32_t height);

// Marks the viewport for the next frame and applies it at once; used after a
// resize, which may arrive on a thread where GL is not current.
void RequestViewportUpdate(RendererCore& renderer);

}  // namespace noxd
