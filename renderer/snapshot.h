// Snapshots of a view, taken from the renderer's own GL buffers: the picture
// is drawn again into an offscreen framebuffer and read back, so windows
// covering the view do not matter.
#pragma once

#include <windows.h>

#include <cstdint>

#include "image_files.h"

namespace noxd {

struct RendererCore;

// What a snapshot shows: the decoded frame at its own size, before zoom and
// overlays; or the view at the window's client size, as a redraw would show
// it now (picture, zoom window, overlays, rubber bands, "no video" cover).
enum SnapshotKind { kSnapshotFrame = 0, kSnapshotView = 1 };

bool IsSnapshotKind(int what);

// The size a snapshot of the kind has now. Any thread.
void SnapshotSize(RendererCore& renderer, int what, int32_t& width, int32_t& height);

// Draws and reads the snapshot; pixels 0xFFRRGGBB, top row first.
// NOXD_E_NO_FRAME before the first frame; E_FAIL without a program, without
// framebuffer objects in GL, or for an empty window. GL thread only.
HRESULT TakeSnapshot(RendererCore& renderer, int what, Picture& picture);

}  // namespace noxd
