// Snapshots of a view, taken from the renderer's own GL buffers: the picture
// is drawn again into an offscreen framebuffer and read back, so windows
// covering the view do not matter.
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

// A framebuffer of its own bound for one scope, the viewport left as it is;
// the window's framebuffer and viewport are in force again when it ends.
// Not ready() when GL offers no framebuffer objects, the size is empty or the
// buffer is not complete. GL thread, lock held.
class OffscreenPicture {
public:
    OffscreenPicture(RendererCore& renderer, int32_t width, int32_t height);
    ~OffscreenPicture();
    OffscreenPicture(const OffscreenPicture&) = delete;
    OffscreenPicture& operator=(const OffscreenPicture&) = delete;

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
