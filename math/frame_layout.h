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
    Nv12 = 5,   // FourCC NV12, planes Y and U V pairs
    Nv21 = 6,   // FourCC NV21, planes Y and V U pairs
};

constexpr int kFormatNv12 = 0x3231564E;
constexpr int kFormatNv21 = 0x3132564E;

std::optional<FormatClass> FormatClassOf(int format);
int FormatCodeOf(FormatClass cls);

// The colour space matters to every format but BGR.
bool IsYuv(FormatClass cls);

// The packed BGR layouts of noxd_draw_frame are stored bottom row first.
bool StoredBottomUp(FormatClass cls);

// Chroma of odd-sized frames: the packed layouts drop the last half pair and
// row (w/2 x h/2), frames given plane by plane keep them ((w+1)/2 x (h+1)/2).
enum class ChromaSize { Truncated, RoundedUp };

// What the textures of a frame are made for.
struct FrameGeometry {
    FormatClass cls = FormatClass::Bgr24;
    int32_t width = 0;
    int32_t height = 0;
    ChromaSize chroma = ChromaSize::Truncated;
    bool operator==(const FrameGeometry& o) const {
        return cls == o.cls && width == o.width && height == o.height && chroma == o.chroma;
    }
    bool operator!=(const FrameGeometry& o) const { return !(*this == o); }
};

// One plane: its top row and the signed bytes from one row to the next row down.
struct PlaneRows {
    const uint8_t* top = nullptr;
    ptrdiff_t pitch = 0;
};

// A frame as the renderer reads it.
struct FramePlanes {
    FrameGeometry geometry;
    PlaneRows planes[3];
};

// Planes the class reads: 1, 2 or 3.
int PlaneCount(FormatClass cls);
// Rows of a plane, and the bytes of each row the textures read.
int32_t PlaneRowCount(const FrameGeometry& geometry, int plane);
size_t PlaneRowBytes(const FrameGeometry& geometry, int plane);

// Byte offsets of the U and V planes of an I420 frame (no row padding).
struct PlaneOffsets {
    int32_t u;
    int32_t v;
};
PlaneOffsets I420PlaneOffsets(int32_t width, int32_t height);

// Length of a row of `bytes` bytes once padded to the 4-byte unpack alignment.
size_t AlignedRowBytes(size_t bytes);

// The planes of a whole frame in the packed layout of noxd_draw_frame.
FramePlanes PackedFramePlanes(FormatClass cls, int32_t width, int32_t height, const void* frame);

// Bytes the uploads of a packed frame read, from its first byte to the last
// one read: never more than the frame's documented size. I420 and NV12
// planes have unpadded rows (the plane offsets leave no room for padding),
// packed 4:2:2 rows hold whole 4-byte pixel pairs, BGR rows are padded to 4 bytes.
size_t FrameBytes(FormatClass cls, int32_t width, int32_t height);

// Why a frame given plane by plane cannot be drawn, naming the field at
// fault ("pitch[1] is smaller than a row"); null when it can. The rows read
// must lie inside the address space: a pitch that would wrap is refused.
const char* PlanesFault(const FramePlanes& frame, int32_t max_texture_size);

// How one texture is filled from the frame.
enum class TexelLayout {
    RgbFromBgr,        // 3 bytes B G R per texel
    RgbFromBgra,       // 4 bytes B G R x per texel
    LuminanceAlpha,    // 2 bytes per texel: luminance, alpha
    RgbaFromBgra,      // 4 bytes per texel, kept as B G R A
    Luminance,         // 1 byte per texel
};
size_t BytesPerTexel(TexelLayout layout);

struct TextureUpload {
    int unit;            // texture unit
    int plane;           // the frame's plane it reads
    int32_t width;
    int32_t height;
    TexelLayout layout;
};

// The textures a frame of the geometry loads, in upload order (unit 0 last).
struct TexturePlan {
    TextureUpload uploads[3];
    int count;
};
TexturePlan TexturePlanFor(const FrameGeometry& geometry);

// Frames whose first plane runs up in memory are kept in the textures
// bottom row first, so one upload takes them; the quad turns them upright.
bool RowsBottomUp(const FramePlanes& frame);

// How GL is handed one texture's rows: `first` is the texture's row 0 and
// each next row lies `step` bytes on. With an alignment, in one call whose
// unpack alignment and row length (in texels, 0 meaning the width) give
// that step; with alignment 0, row by row (a step that is no whole number
// of texels, or a plane running the other way than the first).
struct RowSource {
    const uint8_t* first;
    ptrdiff_t step;
    int alignment;
    int32_t row_length;
};
RowSource RowSourceFor(const TextureUpload& upload, const PlaneRows& plane, bool bottom_up);

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

// The whole picture, upright: textures holding the top row first are
// flipped onto the quad.
VideoQuad UprightVideoQuad(bool bottom_up);

}  // namespace noxd
