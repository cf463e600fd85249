// The "no video" picture: once no frame has come for the host's timeout, a
// redraw shows the last picture dimmed with the host's text centred on it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "osd/osd_pixels.h"

struct CGLRenderer;

namespace noxd {

// The renderer's part. timeout_ms is written by any thread; text_image
// changes and is drawn only under the renderer lock.
struct StaleViewState {
    std::atomic<uint32_t> timeout_ms{0};  // 0: never stale
    PixelImage text_image;                // empty: the picture is only dimmed
};

// Whether a picture whose last frame came `ms_since_last_frame` ago is stale.
bool IsStale(uint32_t timeout_ms, uint32_t ms_since_last_frame);

// Sets the timeout and the text, rasterised like a text overlay before the
// lock is taken. Any thread. E_INVALIDARG for a negative timeout; E_FAIL
// when the text cannot be rasterised (nothing changes then).
HRESULT SetStaleView(CGLRenderer& renderer, int timeout_ms, const wchar_t* text);

// Dims the viewport and draws the text in its middle at its own size.
// A PictureCover: GL thread, renderer lock held.
void DrawStaleCover(CGLRenderer& renderer);

}  // namespace noxd
