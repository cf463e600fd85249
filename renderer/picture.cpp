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

// One call where the unpack alignment and row length can describe the
// rows, else row by row; the rows read are exactly those the frame has. The
// unpack state goes back to GL's defaults, which the overlay uploads use.
void LoadPlane(const TextureUpload& t, const PlaneRows& plane, bool bottom_up) {
    const GlTexelFormat gl = GlFormatOf(t.layout);
    const RowSource rows = RowSourceFor(t, plane, bottom_up);
    const bool default_unpack = rows.alignment == 4 && rows.row_length == 0;
    if (!default_unpack) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, rows.alignment ? rows.alignment : 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, rows.row_length);
    }
    if (rows.alignment) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, t.width, t.height, gl.source_format, GL_UNSIGNED_BYTE,
                        rows.first);
    } else {
        for (int32_t row = 0; row < t.height; ++row)
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, row, t.width, 1, gl.source_format, GL_UNSIGNED_BYTE,
                            rows.first + row * rows.step);
    }
    if (!default_unpack) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    }
}

// The GL 1.1 path tiles frames larger than a texture, up to this side; a
// frame whose staging picture cannot be had fails the frame (E_FAIL).
constexpr int32_t kLargestConvertedSide = 32768;

}  // namespace

bool ConvertsOnCpu(const RendererCore& renderer) { return renderer.picture_path == PicturePath::CpuConversion; }

bool CanDrawPictures(const RendererCore& renderer) {
    return ConvertsOnCpu(renderer) || (renderer.program && renderer.fragment_shader);
}

int32_t LargestFrameSide(const RendererCore& renderer) {
    return ConvertsOnCpu(renderer) ? kLargestConvertedSide : renderer.max_texture_size;
}

void ShowFrameGeometry(RendererCore& renderer, const FramePlanes& frame) {
    renderer.shown_bottom_up = RowsBottomUp(frame);
    if (frame.geometry == renderer.shown_geometry) return;
    renderer.shown_geometry = frame.geometry;
    std::lock_guard<std::mutex> reporting(renderer.stats_mutex);
    renderer.reported_geometry = frame.geometry;
}

void UploadFrame(RendererCore& renderer, const FramePlanes& frame) {
    if (ConvertsOnCpu(renderer)) {
        UploadConvertedFrame(renderer, frame);
        return;
    }
    const TexturePlan plan = TexturePlanFor(renderer.shown_geometry);
    for (int i = 0; i < plan.count; ++i) {
        const TextureUpload& t = plan.uploads[i];
        BindWithStorage(renderer, t);
        if (t.width > 0 && t.height > 0) LoadPlane(t, frame.planes[t.plane], renderer.shown_bottom_up);
    }
}

void BindFrameTextures(RendererCore& renderer) {
    if (ConvertsOnCpu(renderer)) return;
    const TexturePlan plan = TexturePlanFor(renderer.shown_geometry);
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
    if (ConvertsOnCpu(renderer)) {
        DrawConvertedQuad(renderer, quad);
        return;
    }
    UseProgramFor(renderer, overlays);
    // Only a window the picture leaves part of needs the clear, whose colour
    // is never set: black.
    if (!PictureCoversClient(renderer)) glClear(GL_COLOR_BUFFER_BIT);
    // Every sampler reads coordinate set 0, so all planes stay aligned under
    // any zoom window.
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2fv(quad.tex[i]);
        glVertex3fv(quad.vertex[i]);
    }
    glEnd();
}

ShownShape ShapePicture(RendererCore& renderer, VideoQuad& quad) {
    const FrameGeometry& frame = renderer.shown_geometry;
    const PictureRect rect =
        PictureRectIn(renderer.gl_viewport.width, renderer.gl_viewport.height, frame.width, frame.height,
                      renderer.aspect_mode, renderer.sample_aspect, renderer.orientation);
    {
        std::lock_guard<std::mutex> publishing(renderer.shape_mutex);
        renderer.shown_picture_rect = rect;
        renderer.shown_orientation = renderer.orientation;
    }
    quad = ShapedVideoQuad(quad, rect, renderer.orientation);
    return {rect, renderer.orientation};
}

bool PictureCoversClient(const RendererCore& renderer) {
    return CoversClient(renderer.gl_viewport, renderer.gl_client_width, renderer.gl_client_height) &&
           CoversArea(renderer.shown_picture_rect);
}

ShownShape ShownShapeOf(const RendererCore& renderer) {
    std::lock_guard<std::mutex> reading(renderer.shape_mutex);
    return {renderer.shown_picture_rect, renderer.shown_orientation};
}

void LeaveVideoProgram() { glUseProgram(0); }

void LeaveVideoProgram(const RendererCore& renderer) {
    if (!ConvertsOnCpu(renderer)) LeaveVideoProgram();
}

void DeleteFrameTextures(RendererCore& renderer) {
    for (int unit = 0; unit < 3; ++unit) {
        renderer.textures.planes[unit].DeleteIn(renderer.gl_context.get());
        renderer.textures.shapes[unit] = {};
    }
    DeleteConvertedTextures(renderer);
}

}  // namespace noxd
