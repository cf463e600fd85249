// Where each conversion comes from (libyuv's "ARGB" is B G R A in memory):
//   libyuv's own functions:
//     I420, NV12, NV21  x BT.601, BT.709  x limited, full range:
//       I420ToARGBMatrix, NV12ToARGBMatrix, NV21ToARGBMatrix with
//       kYuvI601Constants, kYuvJPEGConstants, kYuvH709Constants, kYuvF709Constants
//     24-bit BGR: RGB24ToARGB;  32-bit BGR: ARGBCopy
//   Composed here:
//     YUY2, UYVY  x BT.601, BT.709  x limited, full range: libyuv's YUY2ToARGB
//       and UYVYToARGB know BT.601 limited only, so their rows
//       (YUY2ToARGBRow_*, UYVYToARGBRow_*) take the space's constants here,
//       picked by CPU flags as libyuv picks them.
//     Truncated chroma (packed frames of odd sizes), every YUV format: the
//       last odd column and row, where libyuv would read one chroma sample
//       past the frame, are converted apart, from the nearest sample the
//       frame has (by libyuv, on that edge alone), or from grey where it has
//       none.
// libyuv is built with LIBYUV_UNLIMITED_DATA (./run): by default it caps
// the blue coefficients at 2, 2.018 in BT.601 and 2.112 in BT.709 limited.
#include "bgra_conversion.h"

#include <libyuv/convert_argb.h>
#include <libyuv/cpu_id.h>
#include <libyuv/planar_functions.h>
#include <libyuv/row.h>

#include <algorithm>
#include <array>

namespace noxd {

namespace {

using libyuv::YuvConstants;

const YuvConstants* ConstantsOf(ColorSpaceIndex space) {
    switch (space) {
    case 1: return &libyuv::kYuvJPEGConstants;
    case 2: return &libyuv::kYuvH709Constants;
    case 3: return &libyuv::kYuvF709Constants;
    default: return &libyuv::kYuvI601Constants;
    }
}

int Stride(ptrdiff_t pitch) { return static_cast<int>(pitch); }

// Where the picture's pixels land.
struct Destination {
    uint8_t* top;    // the picture's top row
    ptrdiff_t step;  // to the row below it

    uint8_t* At(int32_t x, int32_t y) const { return top + y * step + 4 * static_cast<ptrdiff_t>(x); }
};

// One chroma sample of a planar frame and the step to the sample below it;
// a step of 0 repeats the row.
struct ChromaRows {
    const uint8_t* u;  // the U plane of I420, the pairs' plane of NV12 and NV21
    const uint8_t* v;  // the V plane of I420
    ptrdiff_t u_step;
    ptrdiff_t v_step;
};

// Grey chroma for the frames that have none: a row of it for kGreyPixels
// pixels of any planar format (NV12 pairs take two bytes per two pixels).
constexpr int32_t kGreyPixels = 512;
constexpr std::array<uint8_t, kGreyPixels> GreyRow() {
    std::array<uint8_t, kGreyPixels> row{};
    for (uint8_t& sample : row) sample = 128;
    return row;
}
constexpr std::array<uint8_t, kGreyPixels> kGrey = GreyRow();

// `width` x `height` pixels from picture column x0 and row y0, whose first
// pixel takes the chroma sample `chroma`; each next two rows of pixels take
// the chroma row below.
void ConvertPlanarBlock(const FramePlanes& frame, const YuvConstants* constants, const Destination& dst,
                        int32_t x0, int32_t y0, int32_t width, int32_t height, const ChromaRows& chroma) {
    if (width <= 0 || height <= 0) return;
    const PlaneRows& luma = frame.planes[0];
    const uint8_t* y = luma.top + y0 * luma.pitch + x0;
    uint8_t* out = dst.At(x0, y0);
    switch (frame.geometry.cls) {
    case FormatClass::I420:
        libyuv::I420ToARGBMatrix(y, Stride(luma.pitch), chroma.u, Stride(chroma.u_step), chroma.v,
                                 Stride(chroma.v_step), out, Stride(dst.step), constants, width, height);
        return;
    case FormatClass::Nv12:
        libyuv::NV12ToARGBMatrix(y, Stride(luma.pitch), chroma.u, Stride(chroma.u_step), out, Stride(dst.step),
                                 constants, width, height);
        return;
    case FormatClass::Nv21:
        libyuv::NV21ToARGBMatrix(y, Stride(luma.pitch), chroma.u, Stride(chroma.u_step), out, Stride(dst.step),
                                 constants, width, height);
        return;
    default: return;
    }
}

// I420, NV12 and NV21. libyuv reads the chroma of (w+1)/2 x (h+1)/2 samples;
// a frame with fewer has its last odd column and row converted on their own.
void ConvertPlanar(const FramePlanes& frame, const YuvConstants* constants, const Destination& dst) {
    const FrameGeometry& g = frame.geometry;
    const bool i420 = g.cls == FormatClass::I420;
    const int32_t sample_bytes = i420 ? 1 : 2;
    const int32_t chroma_w = static_cast<int32_t>(PlaneRowBytes(g, 1)) / sample_bytes;
    const int32_t chroma_h = PlaneRowCount(g, 1);
    if (chroma_w == 0 || chroma_h == 0) {
        // One pixel wide or high: grey chroma, a row of it for every row.
        for (int32_t x = 0; x < g.width; x += kGreyPixels)
            ConvertPlanarBlock(frame, constants, dst, x, 0, std::min(kGreyPixels, g.width - x), g.height,
                               {kGrey.data(), kGrey.data(), 0, 0});
        return;
    }
    const PlaneRows& u = frame.planes[1];
    const PlaneRows& v = frame.planes[i420 ? 2 : 1];
    // Pixels covered by chroma samples of their own.
    const int32_t covered_w = std::min(g.width, 2 * chroma_w);
    const int32_t covered_h = std::min(g.height, 2 * chroma_h);
    const ptrdiff_t last_column = static_cast<ptrdiff_t>(chroma_w - 1) * sample_bytes;
    const ptrdiff_t last_row_u = (chroma_h - 1) * u.pitch, last_row_v = (chroma_h - 1) * v.pitch;
    ConvertPlanarBlock(frame, constants, dst, 0, 0, covered_w, covered_h, {u.top, v.top, u.pitch, v.pitch});
    ConvertPlanarBlock(frame, constants, dst, covered_w, 0, g.width - covered_w, covered_h,
                       {u.top + last_column, v.top + last_column, u.pitch, v.pitch});
    ConvertPlanarBlock(frame, constants, dst, 0, covered_h, covered_w, g.height - covered_h,
                       {u.top + last_row_u, v.top + last_row_v, 0, 0});
    ConvertPlanarBlock(frame, constants, dst, covered_w, covered_h, g.width - covered_w, g.height - covered_h,
                       {u.top + last_row_u + last_column, v.top + last_row_v + last_column, 0, 0});
}

using PackedRow = void (*)(const uint8_t* src, uint8_t* dst, const YuvConstants* constants, int width);

// libyuv's rows of YUY2 and UYVY ([0], [1]) for one instruction set: whole
// ones, for a multiple of `step` pixels, and ones that finish a row through
// a buffer. Narrowest first; the C rows run on any CPU.
struct PackedRowSet {
    int cpu_flag;  // 0: any CPU
    int32_t step;
    PackedRow whole[2];
    PackedRow any[2];
};
const PackedRowSet kPackedRowSets[] = {
    {0, 1, {libyuv::YUY2ToARGBRow_C, libyuv::UYVYToARGBRow_C}, {libyuv::YUY2ToARGBRow_C, libyuv::UYVYToARGBRow_C}},
#if defined(HAS_YUY2TOARGBROW_SSSE3) && defined(HAS_UYVYTOARGBROW_SSSE3)
    {libyuv::kCpuHasSSSE3, 16, {libyuv::YUY2ToARGBRow_SSSE3, libyuv::UYVYToARGBRow_SSSE3},
     {libyuv::YUY2ToARGBRow_Any_SSSE3, libyuv::UYVYToARGBRow_Any_SSSE3}},
#endif
#if defined(HAS_YUY2TOARGBROW_AVX2) && defined(HAS_UYVYTOARGBROW_AVX2)
    {libyuv::kCpuHasAVX2, 32, {libyuv::YUY2ToARGBRow_AVX2, libyuv::UYVYToARGBRow_AVX2},
     {libyuv::YUY2ToARGBRow_Any_AVX2, libyuv::UYVYToARGBRow_Any_AVX2}},
#endif
};

// The row for a packed width, picked as libyuv's YUY2ToARGB picks it: of the
// widest set the CPU runs.
PackedRow PackedRowFor(bool uyvy, int32_t width) {
    PackedRow row = nullptr;
    for (const PackedRowSet& set : kPackedRowSets)
        if (set.cpu_flag == 0 || libyuv::TestCpuFlag(set.cpu_flag))
            row = width % set.step == 0 ? set.whole[uyvy] : set.any[uyvy];
    return row;
}

// YUY2 and UYVY. A row of an odd width with truncated chroma ends in half a
// pair, its pixel's luma (and, in YUY2, U): that pixel takes the chroma of
// the pair before, or grey in a frame one pixel wide.
void ConvertPacked(const FramePlanes& frame, const YuvConstants* constants, const Destination& dst) {
    const FrameGeometry& g = frame.geometry;
    const bool uyvy = g.cls == FormatClass::Uyvy;
    const PlaneRows& rows = frame.planes[0];
    const int32_t pairs = static_cast<int32_t>(PlaneRowBytes(g, 0) / 4);
    const int32_t whole = std::min(g.width, 2 * pairs);
    const PackedRow row = PackedRowFor(uyvy, whole);
    const int luma = uyvy ? 1 : 0, u = uyvy ? 0 : 1, v = uyvy ? 2 : 3;
    for (int32_t y = 0; y < g.height; ++y) {
        const uint8_t* src = rows.top + y * rows.pitch;
        if (whole > 0) row(src, dst.At(0, y), constants, whole);
        if (whole == g.width) continue;
        const uint8_t* last_pair = pairs > 0 ? src + 4 * static_cast<ptrdiff_t>(pairs - 1) : nullptr;
        const uint8_t y_sample = src[2 * static_cast<ptrdiff_t>(whole) + luma];
        const uint8_t u_sample = last_pair ? last_pair[u] : 128, v_sample = last_pair ? last_pair[v] : 128;
        const uint8_t pair[4] = {y_sample, u_sample, y_sample, v_sample};
        libyuv::YUY2ToARGBRow_C(pair, dst.At(whole, y), constants, 1);
    }
}

}  // namespace

void ConvertToBgra(const FramePlanes& frame, ColorSpaceIndex space, bool bottom_up,
                   uint8_t* dst, ptrdiff_t dst_pitch) {
    const FrameGeometry& g = frame.geometry;
    if (g.width <= 0 || g.height <= 0) return;
    const Destination out = {bottom_up ? dst + (g.height - 1) * dst_pitch : dst, bottom_up ? -dst_pitch : dst_pitch};
    const YuvConstants* constants = ConstantsOf(space);
    const PlaneRows& first = frame.planes[0];
    switch (g.cls) {
    case FormatClass::Bgr24:
        libyuv::RGB24ToARGB(first.top, Stride(first.pitch), out.top, Stride(out.step), g.width, g.height);
        return;
    case FormatClass::Bgr32:
        libyuv::ARGBCopy(first.top, Stride(first.pitch), out.top, Stride(out.step), g.width, g.height);
        return;
    case FormatClass::Yuy2:
    case FormatClass::Uyvy: ConvertPacked(frame, constants, out); return;
    case FormatClass::I420:
    case FormatClass::Nv12:
    case FormatClass::Nv21: ConvertPlanar(frame, constants, out); return;
    }
}

}  // namespace noxd
