// The test card every contender shows before it is timed, and the check of
// what the screen then shows. The card is frame 0 of the moving pattern of
// the sample hosts; free of any window system, so the check is unit-tested.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// noxd's code for NV12: a Y plane, then rows of interleaved U V pairs.
constexpr int kFormatNv12 = 0x3231564E;

// Pixels as GDI reads them off the screen: 0x00RRGGBB, top row first.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
};

struct CardVerdict {
    int compared = 0;  // points of the card checked
    int wrong = 0;     // of those, points off by more than the tolerance
    std::string first_wrong;  // "at (x, y) got #rrggbb want #rrggbb"
    bool Shown() const { return compared > 0 && wrong == 0; }
};

// The colour a viewer should see at (x, y) of the card in a frame of `format`
// and size width x height shown 1:1: YUV formats carry the BT.601 rounding.
uint32_t ExpectedCardColour(int format, int x, int y, int width, int height);

// A rectangle of the client area, in pixels from its top-left corner.
struct ClientRegion {
    int left, top, right, bottom;
};

// Compares the screenshot of a client area that shows the whole card,
// scaled to the client area, at points of a grid inside `region`, skipping
// points near an edge of the pattern (where filtering and chroma
// subsampling blend neighbours).
CardVerdict CheckCard(const Screenshot& shot, int format, int frame_width, int frame_height,
                      const ClientRegion& region, int tolerance = 12);

// The card's frame bytes in `format` (any of the five formats or NV12),
// packed as noxd_draw_frame takes it.
std::vector<uint8_t> CardFrame(int format, int width, int height);

// Frames `count` of the moving pattern, for contenders to cycle through.
std::vector<std::vector<uint8_t>> MovingFrames(int format, int width, int height, int count);

// One plane of a planar frame: where its top row starts, the byte distance
// from one row to the next, and how many bytes and rows the picture has.
struct PlaneRows {
    size_t offset;
    int pitch;
    int row_bytes;
    int rows;
};

// The planes of a packed I420 or NV12 frame; empty for another format.
std::vector<PlaneRows> PackedPlanes(int format, int width, int height);

// A pitch of the kind a decoder's frame pool gives a row: its bytes rounded
// up to 64 (FFmpeg aligns its linesize to up to 64 bytes, Direct3D surface
// pitches are aligned too) plus 64 bytes more (a border of the kind
// decoders keep around a picture for motion vectors).
int PaddedPitch(int row_bytes);

// The planes of an I420 or NV12 frame whose rows lie at PaddedPitch, one
// plane after another.
std::vector<PlaneRows> PaddedPlanes(int format, int width, int height);

// A packed I420 or NV12 frame with each row at PaddedPitch, and its planes.
// The padding holds zeros: a renderer that read it as picture would show
// green and dark stripes the card check finds.
struct PaddedFrame {
    std::vector<uint8_t> bytes;
    std::vector<PlaneRows> planes;
};
PaddedFrame PadRows(const std::vector<uint8_t>& packed, int format, int width, int height);

}  // namespace bench
