#include "gl_objects.h"

#include <atomic>
#include <utility>

namespace noxd {

namespace {

std::atomic<uint32_t> process_contexts_deleted{0};

}  // namespace

GlHome GlHome::Current() { return {wglGetCurrentContext(), process_contexts_deleted.load()}; }

bool GlHome::IsCurrent(HGLRC own) const {
    return context && context == wglGetCurrentContext() &&
           (context == own || process_contexts_deleted.load() == contexts_deleted);
}

void CountContextDeletion() { ++process_contexts_deleted; }

HomedTexture::HomedTexture(HomedTexture&& other) noexcept
    : home_(other.home_), name_(std::exchange(other.name_, 0)) {}

HomedTexture& HomedTexture::operator=(HomedTexture&& other) noexcept {
    home_ = other.home_;
    name_ = std::exchange(other.name_, 0);
    return *this;
}

bool HomedTexture::Bind(HGLRC own) {
    const bool usable = name_ && home_.IsCurrent(own);
    if (!usable) {
        name_ = 0;
        glGenTextures(1, &name_);
        home_ = GlHome::Current();
    }
    glBindTexture(GL_TEXTURE_2D, name_);
    return !usable;
}

void HomedTexture::DeleteIn(HGLRC own) {
    if (name_ && home_.context == own && home_.IsCurrent(own)) glDeleteTextures(1, &name_);
    name_ = 0;
}

}  // namespace noxd
