// Snapshots of a view, taken from the renderer's own GL buffers: the picture
// is drawn again into an offscreen framebuffer and read back, so windows
// covering the view do not matter. A GL 1.1 has no framebuffer objects: there
// the view is drawn into the back buffer and read before any swap, which
// only the next frame or redraw would show.
#pragma once

#include <windows.h>

#include <cstdint>

#include "gl_objects.h"
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

// Where a snapshot is drawn for one scope, the viewport left as it is: a
// framebuffer of its own, the window's framebuffer and viewport in force
// again when it ends; on the GL 1.1 path the window's back buffer, at the
// client size only. Not ready() when GL offers no framebuffer objects, the
// size is empty or does not fit, or the buffer is not complete. GL thread, lock held.
class SnapshotTarget {
public:
    SnapshotTarget(RendererCore& renderer, int32_t width, int32_t height);
    ~SnapshotTarget();
    SnapshotTarget(const SnapshotTarget&) = delete;
    SnapshotTarget& operator=(const SnapshotTarget&) = delete;

    bool ready() const { return ready_; }
    // What was drawn, as pixels 0xFFRRGGBB, top row first.
    Picture Read() const;

private:
    RendererCore& renderer_;
    int32_t width_, height_;
    UniqueRenderbuffer colour_;
    UniqueFramebuffer framebuffer_;
    bool ready_ = false;
};

}  // namespace noxd
