// Frame formats, plane layouts, the viewport and the video quad: the pure
// arithmetic of drawing a frame, free of Windows and GL so it can be tested
// and fuzzed on its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace noxd {

// Shader and upload path chosen by the frame format code.
enum class FormatClass : uint32_t {
    Bgr24 = 0,  // format 11, bottom row first
    Bgr32 = 1,  // format 10, bottom row first
    Yuy2 = 2,   // format 12, Y0 U Y1 V
    I420 = 3,   // format 8, planes Y U V
    Uyvy = 4,   // format 9, U Y0 V Y1
};

std::optional<FormatClass> FormatClassOf(int format);

// BGR pictures are stored bottom row first, YUV pictures top row first.
bool StoredBottomUp(FormatClass cls);

// Byte offsets of the U and V planes of an I420 frame (no row padding).
struct PlaneOffsets {
    int32_t u;
    int32_t v;
};
PlaneOffsets I420PlaneOffsets(int32_t width, int32_t height);

// Length of a row of `bytes` bytes once padded to the 4-byte unpack alignment.
size_t AlignedRowBytes(size_t bytes);

// How one texture is filled from the frame.
enum class TexelLayout {
    RgbFromBgr,        // 3 bytes B G R per texel
    RgbFromBgra,       // 4 bytes B G R x per texel
    LuminanceAlpha,    // 2 bytes per texel: luminance, alpha
    RgbaFromBgra,      // 4 bytes per texel, kept as B G R A
    Luminance,         // 1 byte per texel
};

struct TextureUpload {
    int unit;            // texture unit, which is also the texture name
    int32_t width;
    int32_t height;
    TexelLayout layout;
    size_t offset;       // where the texture's data starts in the frame
    int row_alignment = 4;   // bytes each row starts on (GL's unpack alignment)
    int32_t row_texels = 0;  // texels from one row's start to the next; 0: `width`
};

// The textures a frame of the class loads, in upload order (unit 0 last).
struct TexturePlan {
    TextureUpload uploads[3];
    int count;
};
TexturePlan TexturePlanFor(FormatClass cls, int32_t width, int32_t height, PlaneOffsets planes);

// Bytes the uploads of a frame read, from its first byte to the last one
// read: never more than the frame's documented size. I420 planes have
// unpadded rows (the plane offsets leave no room for padding), packed 4:2:2
// rows hold whole 4-byte pixel pairs, BGR rows are padded to 4 bytes.
size_t FrameBytes(FormatClass cls, int32_t width, int32_t height);

// Bytes from the start of one row of the upload to the next.
size_t RowStride(const TextureUpload& upload);

// GL viewport (rows counted from the bottom) from the video position, which
// is given as fractions of the client area measured from its top-left corner.
struct Viewport {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};
Viewport ViewportFromVideoPos(float left, float bottom, float right, float top,
                              int32_t client_width, int32_t client_height);

// Whether the viewport covers every pixel of the client area, so that the
// picture, which fills the viewport, leaves nothing of the window to clear.
bool CoversClient(const Viewport& viewport, int32_t client_width, int32_t client_height);

// The textured quad that fills the viewport: texture coordinates T0..T3 and
// vertices V0..V3, in drawing order.
struct VideoQuad {
    float tex[4][2];
    float vertex[4][3];
};

// The whole picture, upright: rows stored top first are flipped onto the quad.
VideoQuad UprightVideoQuad(FormatClass cls);

}  // namespace noxd
