// The "no video" picture: once no frame has come for the host's timeout, a
// redraw shows the last picture dimmed with the host's text centred on it.
// The core decides when (stale_timeout_ms); this draws the cover.
#pragma once

#include <windows.h>

namespace noxd {

struct OverlayRenderer;

// Sets the timeout and the text, rasterised like a text overlay before the
// lock is taken. Any thread. E_INVALIDARG for a negative timeout; E_FAIL
// when the text cannot be rasterised (nothing changes then).
HRESULT SetStaleView(OverlayRenderer& renderer, int timeout_ms, const wchar_t* text);

// Dims the viewport and draws the text in its middle at its own size.
// The hook draw_stale_cover: GL thread, renderer lock held.
void DrawStaleCover(OverlayRenderer& renderer);

}  // namespace noxd
