// Owners for the GL objects the renderer makes beyond its program: one type
// per kind, each deleting its name exactly once. GL thread only.
#pragma once

#include <GL/glew.h>

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

}  // namespace noxd
