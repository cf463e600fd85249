#include "video_quad.h"

#include "renderer_core.h"

namespace noxd {

namespace {

void DrawQuad(const VideoQuad& quad) {
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    // The clear colour is never set, so this paints the whole window black,
    // outside the viewport too.
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        // Every unit gets the same coordinates so the planes stay aligned
        // under any zoom window.
        glMultiTexCoord2fv(GL_TEXTURE0, quad.tex[i]);
        glMultiTexCoord2fv(GL_TEXTURE1, quad.tex[i]);
        glMultiTexCoord2fv(GL_TEXTURE2, quad.tex[i]);
        glVertex3fv(quad.vertex[i]);
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

}  // namespace

void DrawVideoQuad(RendererCore& renderer) {
    VideoQuad quad = UprightVideoQuad(renderer.format_class);
    renderer.hooks.prepare_video_quad(renderer, quad);
    DrawQuad(quad);
}

void DrawWholePicture(RendererCore& renderer) { DrawQuad(UprightVideoQuad(renderer.format_class)); }

}  // namespace noxd
