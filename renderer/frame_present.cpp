#include "frame_present.h"

#include "gl_driver_gate.h"
#include "renderer_core.h"
#include "shader_program.h"
#include "timing.h"
#include "video_quad.h"
#include "viewport.h"

namespace noxd {

namespace {

struct GlTexelFormat {
    GLint internal_format;
    GLenum source_format;
};

GlTexelFormat GlFormatOf(TexelLayout layout) {
    switch (layout) {
    case TexelLayout::RgbFromBgr: return {GL_RGB, GL_BGR};
    case TexelLayout::RgbFromBgra: return {GL_RGB, GL_BGRA};
    case TexelLayout::LuminanceAlpha: return {GL_LUMINANCE_ALPHA, GL_LUMINANCE_ALPHA};
    case TexelLayout::RgbaFromBgra: return {GL_RGBA, GL_BGRA};
    case TexelLayout::Luminance: return {GL_LUMINANCE, GL_LUMINANCE};
    }
    return {GL_LUMINANCE, GL_LUMINANCE};
}

void SetSamplerUniforms(const ShaderUniforms& uniforms, int unit) {
    for (const GLint location : uniforms.samplers_of_unit[unit])
        if (location >= 0) glUniform1i(location, unit);
}

// Texture unit k uses texture name k. The filters are set every time: the
// attribute pop at the end of each picture puts them back to their defaults,
// which would leave the texture incomplete.
void BindTexture(const ShaderUniforms& uniforms, const TextureUpload& t) {
    glActiveTexture(GL_TEXTURE0 + t.unit);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, t.unit);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    SetSamplerUniforms(uniforms, t.unit);
}

// The image is specified from the frame and then loaded once more in full,
// straight from the host's buffer.
void UploadTexture(const ShaderUniforms& uniforms, const TextureUpload& t, const unsigned char* frame) {
    const GlTexelFormat gl = GlFormatOf(t.layout);
    const void* data = frame + t.offset;
    BindTexture(uniforms, t);
    // Rows as the frame layout has them, so nothing past the frame is read.
    glPixelStorei(GL_UNPACK_ALIGNMENT, t.row_alignment);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, t.row_texels);
    glTexImage2D(GL_TEXTURE_2D, 0, gl.internal_format, t.width, t.height, 0, gl.source_format,
                 GL_UNSIGNED_BYTE, data);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, t.width, t.height, gl.source_format, GL_UNSIGNED_BYTE,
                    data);
    // Back to GL's defaults, which the overlay uploads rely on.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

void SetShaderOn(const ShaderUniforms& uniforms, int on) {
    if (uniforms.shader_on >= 0) glUniform1i(uniforms.shader_on, on);
}

}  // namespace

void DrawPicture(RendererCore& renderer, const void* frame, QuadStep quad) {
    glUseProgram(renderer.program);
    SetShaderOn(renderer.uniforms, 1);
    glPushAttrib(0x000FFFFF);

    const TexturePlan plan =
        TexturePlanFor(renderer.format_class, renderer.frame_width, renderer.frame_height,
                       {renderer.u_plane_offset, renderer.v_plane_offset});
    for (int i = 0; i < plan.count; ++i) {
        if (frame)
            UploadTexture(renderer.uniforms, plan.uploads[i], static_cast<const unsigned char*>(frame));
        else
            BindTexture(renderer.uniforms, plan.uploads[i]);
    }

    quad(renderer);

    SetShaderOn(renderer.uniforms, 0);
    glUseProgram(0);
    glPopAttrib();
}

HRESULT DrawView(RendererCore& renderer, const void* frame, PictureCover cover) {
    if (renderer.viewport_pending.exchange(false)) ApplyViewport(renderer);
    if (!renderer.program || !renderer.fragment_shader) return E_FAIL;
    DrawPicture(renderer, frame, DrawVideoQuad);
    renderer.hooks.draw_overlays(renderer);
    if (cover) cover(renderer);
    return S_OK;
}

HRESULT PresentFrame(RendererCore& renderer, const void* frame) {
    PassFrameEntryPoint();
    ScopedRendererLock hold(renderer.lock);
    const HRESULT drawn = DrawView(renderer, frame, nullptr);
    if (drawn != S_OK) return drawn;
    PresentBuffers(renderer.device_context.get());
    PassSwapPoint();
    return S_OK;
}

HRESULT RedrawFrame(RendererCore& renderer, PictureCover cover) {
    ScopedRendererLock hold(renderer.lock);
    const HRESULT drawn = DrawView(renderer, nullptr, cover);
    if (drawn == S_OK) PresentBuffers(renderer.device_context.get());
    return drawn;
}

}  // namespace noxd
