#include "picture.h"

#include "renderer_core.h"
#include "shader_program.h"

namespace noxd {

namespace {

struct GlTexelFormat {
    GLint internal_format;
    GLenum source_format;
};

// 4-byte BGR pixels go into RGBA texels as they are: a texel format the
// driver stores without converting each pixel. The shader ignores alpha.
GlTexelFormat GlFormatOf(TexelLayout layout) {
    switch (layout) {
    case TexelLayout::RgbFromBgr: return {GL_RGB, GL_BGR};
    case TexelLayout::RgbFromBgra: return {GL_RGBA, GL_BGRA};
    case TexelLayout::LuminanceAlpha: return {GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA};
    case TexelLayout::RgbaFromBgra: return {GL_RGBA, GL_BGRA};
    case TexelLayout::Luminance: return {GL_LUMINANCE, GL_LUMINANCE};
    }
    return {GL_LUMINANCE, GL_LUMINANCE};
}

TexturePlan PlanOf(const RendererCore& renderer) {
    return TexturePlanFor(renderer.format_class, renderer.frame_width, renderer.frame_height,
                          {renderer.u_plane_offset, renderer.v_plane_offset});
}

// Binds the upload's texture on its unit, making its storage first when the
// texture is new in this context or was made for another shape. The filters
// belong to the texture object, so they are set only then.
void BindWithStorage(RendererCore& renderer, const TextureUpload& t) {
    glActiveTexture(GL_TEXTURE0 + t.unit);
    FrameTextures::Shape& shape = renderer.textures.shapes[t.unit];
    const bool made = renderer.textures.planes[t.unit].Bind(renderer.gl_context.get());
    if (!made && shape.width == t.width && shape.height == t.height && shape.layout == t.layout)
        return;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    const GlTexelFormat gl = GlFormatOf(t.layout);
    glTexImage2D(GL_TEXTURE_2D, 0, gl.internal_format, t.width, t.height, 0, gl.source_format,
                 GL_UNSIGNED_BYTE, nullptr);
    shape = {t.width, t.height, t.layout};
}

// Rows as the frame layout has them, so nothing past the frame is read; the
// unpack state goes back to GL's defaults, which the overlay uploads use.
void LoadPlane(const TextureUpload& t, const unsigned char* frame) {
    const GlTexelFormat gl = GlFormatOf(t.layout);
    const bool own_rows = t.row_alignment != 4 || t.row_texels != 0;
    if (own_rows) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, t.row_alignment);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, t.row_texels);
    }
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, t.width, t.height, gl.source_format, GL_UNSIGNED_BYTE,
                    frame + t.offset);
    if (own_rows) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
}

}  // namespace

bool HasProgram(const RendererCore& renderer) { return renderer.program && renderer.fragment_shader; }

void UploadFrame(RendererCore& renderer, const void* frame) {
    const TexturePlan plan = PlanOf(renderer);
    for (int i = 0; i < plan.count; ++i) {
        BindWithStorage(renderer, plan.uploads[i]);
        LoadPlane(plan.uploads[i], static_cast<const unsigned char*>(frame));
    }
}

void BindFrameTextures(RendererCore& renderer) {
    const TexturePlan plan = PlanOf(renderer);
    for (int i = 0; i < plan.count; ++i) BindWithStorage(renderer, plan.uploads[i]);
}

namespace {

// The program that lays the overlays over the picture, their texture on
// unit 3; the plain one when there are none or that program is missing.
void UseProgramFor(RendererCore& renderer, const OverlaysOnPicture& overlays) {
    const GLuint over_layer = overlays.texture ? ProgramOverLayer(renderer) : 0;
    if (!over_layer) {
        glUseProgram(renderer.program);
        return;
    }
    glUseProgram(over_layer);
    glUniform2f(renderer.layer_program.scale, 1.0f / static_cast<float>(overlays.width),
                1.0f / static_cast<float>(overlays.height));
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, overlays.texture);
    glActiveTexture(GL_TEXTURE0);
}

}  // namespace

void DrawVideoQuad(RendererCore& renderer, const VideoQuad& quad, const OverlaysOnPicture& overlays) {
    UseProgramFor(renderer, overlays);
    // The quad covers the viewport, so only a window the viewport leaves
    // part of needs the clear, whose colour is never set: black.
    if (!CoversClient(renderer.gl_viewport, renderer.gl_client_width, renderer.gl_client_height))
        glClear(GL_COLOR_BUFFER_BIT);
    // Every sampler reads coordinate set 0, so all planes stay aligned under
    // any zoom window.
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2fv(quad.tex[i]);
        glVertex3fv(quad.vertex[i]);
    }
    glEnd();
}

void LeaveVideoProgram() { glUseProgram(0); }

void DeleteFrameTextures(RendererCore& renderer) {
    for (int unit = 0; unit < 3; ++unit) {
        renderer.textures.planes[unit].DeleteIn(renderer.gl_context.get());
        renderer.textures.shapes[unit] = {};
    }
}

}  // namespace noxd
