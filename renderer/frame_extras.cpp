#include "frame_extras.h"

#include "frame_present.h"
#include "gl_renderer.h"
#include "shader_program.h"

namespace noxd {

HRESULT PresentNewFrame(CGLRenderer& renderer, const void* frame) {
    {
        ScopedRendererLock hold(renderer.lock);
        ApplyRequestedColorSpace(renderer);
    }
    return PresentFrame(renderer, frame);
}

}  // namespace noxd
