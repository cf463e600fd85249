// The picture: the frame's textures and the quad that shows them through the
// renderer's program. Each texture's storage is made once (and again only
// when the frame's size or format changes); a frame then loads each plane
// once, straight from the host's buffer, rows padded or not.
#pragma once

#include "frame_layout.h"
#include "gl_objects.h"
#include "picture_shape.h"

namespace noxd {

struct RendererCore;

// The textures of one renderer, one per unit the format class uses, and the
// shape each one's storage was made for.
struct FrameTextures {
    HomedTexture planes[3];
    struct Shape {
        int32_t width = 0, height = 0;
        TexelLayout layout = TexelLayout::Luminance;
    } shapes[3];
};

// How a view draws its pictures: YUV converted by shader programs, or,
// where GL has none and the host allowed it, frames converted to BGRA on
// the CPU and drawn with GL 1.1 alone. The values are those NOXD_STATS reports.
enum class PicturePath : uint32_t { Shaders = 0, CpuConversion = 1 };

// Whether the view is on the GL 1.1 path, its frames converted on the CPU.
bool ConvertsOnCpu(const RendererCore& renderer);

// Whether the renderer can draw pictures: a program built, or the GL 1.1 path.
bool CanDrawPictures(const RendererCore& renderer);

// The largest frame side the renderer draws: the GL's maximum texture size,
// or, on the GL 1.1 path, which tiles larger frames, a fixed limit.
int32_t LargestFrameSide(const RendererCore& renderer);

// Makes the frame's size, format and row order the ones shown (and
// reported by the statistics); the textures and the program follow them
// from the next upload and program check. GL thread, lock held.
void ShowFrameGeometry(RendererCore& renderer, const FramePlanes& frame);

// Loads the frame's planes into their textures, each left bound on its unit,
// unit 0 active; on the GL 1.1 path, converts it and loads the tiles. The
// frame has the geometry shown. GL thread, lock held.
void UploadFrame(RendererCore& renderer, const FramePlanes& frame);

// Binds the textures as the last frame left them, unit 0 active (the GL 1.1
// path binds each tile as it draws it). GL thread, lock held.
void BindFrameTextures(RendererCore& renderer);

// A layer of overlays for the picture's own pass to lay over the picture:
// a texture of width x height (the client area's size), first row the
// window's top one, colours premultiplied. No texture: none.
struct OverlaysOnPicture {
    GLuint texture = 0;
    int32_t width = 0, height = 0;
};

// Draws the bound textures through the program into the viewport (the part
// of the picture the quad's texture coordinates choose), with `overlays`
// over it, the rest of the window black. The program stays current, for
// the next frame. On the GL 1.1 path the tiles are drawn, with no program
// and never a layer of overlays. GL thread, lock held.
void DrawVideoQuad(RendererCore& renderer, const VideoQuad& quad,
                   const OverlaysOnPicture& overlays = {});


// Whether the picture as last shaped covers the whole client area.
bool PictureCoversClient(const RendererCore& renderer);

// The picture rectangle and orientation last drawn. Any thread.
struct ShownShape {
    PictureRect rect;
    Orientation orientation;
};
ShownShape ShownShapeOf(const RendererCore& renderer);

// Places the upright view's quad on the picture rectangle that the asked-for
// aspect gives in the viewport, turned and mirrored as asked, and makes
// that shape the one shown (for the window procedure's coordinates); the
// shape is returned for the overlays. GL thread, lock held.
ShownShape ShapePicture(RendererCore& renderer, VideoQuad& quad);

// No program current, for drawing with fixed-function GL (overlays, covers).
void LeaveVideoProgram();
// The same for a view, whose GL 1.1 path never has one (nor the call).
void LeaveVideoProgram(const RendererCore& renderer);

// Deletes the textures (both paths'), in the renderer's own context. GL thread, at release.
void DeleteFrameTextures(RendererCore& renderer);

}  // namespace noxd
