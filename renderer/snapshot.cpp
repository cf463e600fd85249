#include "snapshot.h"

#include "frame_extras.h"
#include "frame_present.h"
#include "gl_objects.h"
#include "renderer_core.h"
#include "noxd.h"
#include "video_quad.h"
#include "viewport.h"

namespace noxd {

namespace {

// Draws into an offscreen framebuffer for one scope; the window's
// framebuffer and viewport are in force again when it ends.
class OffscreenTarget {
public:
    OffscreenTarget(RendererCore& renderer, GLuint framebuffer) : renderer_(renderer) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    }
    ~OffscreenTarget() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        ApplyViewport(renderer_);
    }
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

private:
    RendererCore& renderer_;
};

UniqueRenderbuffer MakeColourBuffer(int32_t width, int32_t height) {
    GLuint name = 0;
    glGenRenderbuffers(1, &name);
    UniqueRenderbuffer buffer(name);
    glBindRenderbuffer(GL_RENDERBUFFER, name);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return buffer;
}

UniqueFramebuffer MakeFramebuffer() {
    GLuint name = 0;
    glGenFramebuffers(1, &name);
    return UniqueFramebuffer(name);
}

// GL rows run bottom first and the shaders write alpha 0; the picture is
// top row first and opaque.
void ReadInto(Picture& picture) {
    std::vector<uint32_t> rows(static_cast<size_t>(picture.width) * picture.height);
    glReadPixels(0, 0, picture.width, picture.height, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    picture.pixels.resize(rows.size());
    for (int32_t y = 0; y < picture.height; ++y) {
        const uint32_t* from = &rows[static_cast<size_t>(picture.height - 1 - y) * picture.width];
        uint32_t* to = &picture.pixels[static_cast<size_t>(y) * picture.width];
        for (int32_t x = 0; x < picture.width; ++x) to[x] = from[x] | 0xFF000000u;
    }
}

HRESULT DrawSnapshot(RendererCore& renderer, int what, const Picture& picture) {
    if (what == kSnapshotView) return DrawView(renderer, nullptr, CoverDueNow(renderer));
    glViewport(0, 0, picture.width, picture.height);
    DrawPicture(renderer, nullptr, DrawWholePicture);
    return S_OK;
}

}  // namespace

bool IsSnapshotKind(int what) { return what == kSnapshotFrame || what == kSnapshotView; }

void SnapshotSize(RendererCore& renderer, int what, int32_t& width, int32_t& height) {
    if (what == kSnapshotFrame) {
        width = renderer.frame_width;
        height = renderer.frame_height;
        return;
    }
    RECT client = {};
    GetClientRect(renderer.window, &client);
    width = client.right - client.left;
    height = client.bottom - client.top;
}

HRESULT TakeSnapshot(RendererCore& renderer, int what, Picture& picture) {
    if (ReadFrameStats(renderer).ms_since_last_frame == FrameStatsSummary::kNoFrameYet)
        return NOXD_E_NO_FRAME;
    ScopedRendererLock hold(renderer.lock);
    if (!renderer.program || !renderer.fragment_shader) return E_FAIL;
    if (!glGenFramebuffers || !glGenRenderbuffers) return E_FAIL;
    SnapshotSize(renderer, what, picture.width, picture.height);
    if (picture.width <= 0 || picture.height <= 0) return E_FAIL;

    const UniqueRenderbuffer colour = MakeColourBuffer(picture.width, picture.height);
    const UniqueFramebuffer framebuffer = MakeFramebuffer();
    const OffscreenTarget target(renderer, framebuffer.get());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour.get());
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return E_FAIL;
    const HRESULT drawn = DrawSnapshot(renderer, what, picture);
    if (drawn != S_OK) return drawn;
    ReadInto(picture);
    return S_OK;
}

}  // namespace noxd
