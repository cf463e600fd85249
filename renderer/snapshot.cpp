#include "snapshot.h"

#include "frame_counts.h"
#include "renderer_core.h"
#include "viewport.h"

namespace noxd {

namespace {

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

}  // namespace

bool IsSnapshotKind(int what) { return what == kSnapshotFrame || what == kSnapshotView; }

void SnapshotSize(RendererCore& renderer, int what, int32_t& width, int32_t& height) {
    if (what == kSnapshotFrame) {
        const FrameGeometry shown = ReportedGeometry(renderer);
        width = shown.width;
        height = shown.height;
        return;
    }
    RECT client = {};
    GetClientRect(renderer.window, &client);
    width = client.right - client.left;
    height = client.bottom - client.top;
}

SnapshotTarget::SnapshotTarget(RendererCore& renderer, int32_t width, int32_t height)
    : renderer_(renderer), width_(width), height_(height) {
    if (ConvertsOnCpu(renderer)) {
        RECT client = {};
        GetClientRect(renderer.window, &client);
        ready_ = width > 0 && height > 0 && width <= client.right && height <= client.bottom;
        return;
    }
    if (!glGenFramebuffers || !glGenRenderbuffers || width <= 0 || height <= 0) return;
    colour_ = MakeColourBuffer(width, height);
    framebuffer_ = MakeFramebuffer();
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_.get());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_.get());
    ready_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

SnapshotTarget::~SnapshotTarget() {
    if (!framebuffer_) return;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    ApplyViewport(renderer_);
}

// GL rows run bottom first and the shaders may write alpha 0; the picture is
// top row first and opaque.
Picture SnapshotTarget::Read() const {
    Picture picture;
    picture.width = width_;
    picture.height = height_;
    std::vector<uint32_t> rows(static_cast<size_t>(width_) * height_);
    if (!framebuffer_) glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width_, height_, GL_BGRA_EXT, GL_UNSIGNED_BYTE, rows.data());
    picture.pixels.resize(rows.size());
    for (int32_t y = 0; y < height_; ++y) {
        const uint32_t* from = &rows[static_cast<size_t>(height_ - 1 - y) * width_];
        uint32_t* to = &picture.pixels[static_cast<size_t>(y) * width_];
        for (int32_t x = 0; x < width_; ++x) to[x] = from[x] | 0xFF000000u;
    }
    return picture;
}

}  // namespace noxd
