// Owners for the GL objects the renderer makes beyond its program: one type
// per kind, each deleting its name exactly once. GL thread only.
#pragma once

#include <GL/glew.h>

#include <windows.h>

#include <cstdint>

#include "win32_owners.h"

namespace noxd {

struct FramebufferTraits {
    using Value = GLuint;
    static Value none() { return 0; }
    static bool held(Value name) { return name != 0; }
    static void close(Value name) { glDeleteFramebuffers(1, &name); }
};
using UniqueFramebuffer = UniqueHandle<FramebufferTraits>;

struct RenderbufferTraits {
    using Value = GLuint;
    static Value none() { return 0; }
    static bool held(Value name) { return name != 0; }
    static void close(Value name) { glDeleteRenderbuffers(1, &name); }
};
using UniqueRenderbuffer = UniqueHandle<RenderbufferTraits>;

// Where a renderer's textures live. They are made in the context current on
// its GL thread when it draws: its own, or, once a later renderer created on
// the same thread took the GL state over, that renderer's. Names of one
// context mean nothing in another, and the handle of a deleted context may be
// handed out again, so a home is the context together with the number of
// contexts the process had deleted when the textures were made.
struct GlHome {
    HGLRC context = nullptr;
    uint32_t contexts_deleted = 0;

    static GlHome Current();
    // Whether textures made at this home may be used now: its context is
    // current, and it is `own` (alive as long as the renderer) or no context
    // has been deleted since.
    bool IsCurrent(HGLRC own) const;
};

// Counts a context deleted; under the GL driver gate, as the deletion is.
void CountContextDeletion();

// One texture name, made in one home and deleted there. The destructor never
// calls GL: the renderer's release (or, for an overlay's image, the next draw
// pass after the overlay went) deletes it on the GL thread, and a texture
// made in another renderer's context is left to die with that context.
// GL thread only.
class HomedTexture {
public:
    HomedTexture() = default;
    HomedTexture(HomedTexture&& other) noexcept;
    // Only onto a texture holding no name, which would otherwise be lost.
    HomedTexture& operator=(HomedTexture&& other) noexcept;
    HomedTexture(const HomedTexture&) = delete;
    HomedTexture& operator=(const HomedTexture&) = delete;

    // Binds the texture on the active unit, first making it in the current
    // context when it has none usable there; true when it was made now and
    // so has no image yet.
    bool Bind(HGLRC own);
    // Deletes the name when its home is `own` and current; else forgets it.
    void DeleteIn(HGLRC own);

private:
    GlHome home_;
    GLuint name_ = 0;
};

}  // namespace noxd
