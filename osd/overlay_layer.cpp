#include "overlay_layer.h"

#include <cstring>
#include <vector>

namespace noxd {

namespace {

// Small enough that scattered overlays leave most of the window out, large
// enough that the quads stay few.
constexpr int32_t kCompositeTile = 32;

// Mesa stores a window's rows top first and a framebuffer object's bottom
// first; drawing into the object with the clip origin at the upper left
// rasterises exactly as into the window. What other drivers do is not known
// here, so they get no layer.
bool WindowRowsRunTopFirst() {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version && std::strstr(version, "Mesa");
}

}  // namespace

void OverlayLayer::ChooseRows() {
    const bool framebuffers = GLEW_VERSION_3_0 || GLEW_ARB_framebuffer_object;
    const bool clip_origin = GLEW_VERSION_4_5 || GLEW_ARB_clip_control;
    rows_ = framebuffers && clip_origin && WindowRowsRunTopFirst() ? Rows::TurnedRound : Rows::None;
}

void OverlayLayer::Forget() {
    texture_ = 0;
    framebuffer_ = 0;
    valid_ = false;
}

bool OverlayLayer::Make(int32_t width, int32_t height) {
    home_ = GlHome::Current();
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    glGenFramebuffers(1, &framebuffer_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture_, 0);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

bool OverlayLayer::BeginRedraw(const LayerKey& key, HGLRC own) {
    if (rows_ == Rows::Unknown) ChooseRows();
    if (!Usable() || key.client_width <= 0 || key.client_height <= 0) return false;
    if (framebuffer_ && !home_.IsCurrent(own)) Forget();
    if (valid_ && key == drawn_) return false;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &outer_framebuffer_);
    const bool resized =
        key.client_width != drawn_.client_width || key.client_height != drawn_.client_height;
    if (!framebuffer_ || resized) {
        DeleteIn(own);
        if (!Make(key.client_width, key.client_height)) {
            glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(outer_framebuffer_));
            DeleteIn(own);
            rows_ = Rows::None;
            return false;
        }
    } else {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    }
    // The overlays draw with fixed-function GL.
    LeaveVideoProgram();
    // The clear colour is never set: transparent black, nothing over the picture.
    glClear(GL_COLOR_BUFFER_BIT);
    drawn_ = key;
    valid_ = true;
    // Rows turned round: the viewport's place is counted from the top.
    const Viewport& v = key.viewport;
    glViewport(v.x, key.client_height - v.y - v.height, v.width, v.height);
    glClipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    return true;
}

void OverlayLayer::EndRedraw() {
    glClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    covered_found_ = false;
    const Viewport& v = drawn_.viewport;
    glViewport(v.x, v.y, v.width, v.height);
    glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(outer_framebuffer_));
}

// Read back once per redraw that is composited, so that each frame lays
// only the parts with something to show over the picture: blending the
// whole window costs as much as a good part of the picture itself.
void OverlayLayer::FindCoveredTiles() {
    const int32_t w = drawn_.client_width, h = drawn_.client_height;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    GLint reading = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &reading);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(reading));
    covered_ = CoveredTiles(pixels.data(), w, h, kCompositeTile);
    covered_found_ = true;
}

void OverlayLayer::Composite() {
    if (!covered_found_) FindCoveredTiles();
    glViewport(0, 0, drawn_.client_width, drawn_.client_height);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    // The layer's first row is the window's top one.
    const float w = static_cast<float>(drawn_.client_width);
    const float h = static_cast<float>(drawn_.client_height);
    glBegin(GL_QUADS);
    for (const PixelRect& r : covered_) {
        const float s0 = r.x / w, s1 = (r.x + r.width) / w;
        const float t0 = r.y / h, t1 = (r.y + r.height) / h;
        const float x0 = 2 * s0 - 1, x1 = 2 * s1 - 1;
        const float top = 1 - 2 * t0, bottom = 1 - 2 * t1;
        glTexCoord2f(s0, t1);
        glVertex2f(x0, bottom);
        glTexCoord2f(s1, t1);
        glVertex2f(x1, bottom);
        glTexCoord2f(s1, t0);
        glVertex2f(x1, top);
        glTexCoord2f(s0, t0);
        glVertex2f(x0, top);
    }
    glEnd();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    const Viewport& v = drawn_.viewport;
    glViewport(v.x, v.y, v.width, v.height);
}

void OverlayLayer::DeleteIn(HGLRC own) {
    if (framebuffer_ && home_.context == own && home_.IsCurrent(own)) {
        glDeleteFramebuffers(1, &framebuffer_);
        glDeleteTextures(1, &texture_);
    }
    Forget();
}

}  // namespace noxd
