// The CPU conversion to BGRA against colours worked out without it: every
// format in every colour space, at odd and even sizes, packed and plane by
// plane (padded rows, planes running either way), into rows top first and
// bottom first, with each set of libyuv's rows an x86 CPU may get. Each
// picture's samples differ from their neighbours', so a pixel that takes the
// wrong sample, the wrong plane or the wrong colour space shows; the
// destination's padding shows a write past a row.
#include <gtest/gtest.h>
#include <libyuv/cpu_id.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bgra_conversion.h"
#include "support/frames.h"
#include "support/guarded_buffer.h"

namespace {

using noxd::ChromaSize;
using noxd::FormatClass;
using noxd::FrameGeometry;
using noxd::FramePlanes;
using noxd_test::GuardedBuffer;

// libyuv converts in fixed point, its coefficients in steps of 1/64, and
// takes 128 for chroma's midpoint where the formulas take 127.5: the largest
// error over every case here is 2 levels, in both builds (a blue channel
// mostly), where rounding alone would give 1.
constexpr int kTolerance = 2;

// libyuv picks its rows by the CPU's flags: each set is held to in turn.
struct Cpu {
    const char* name;
    int flags;
};
const Cpu kCpus[] = {
    {"this CPU", -1},
    {"SSSE3", libyuv::kCpuInitialized | libyuv::kCpuHasX86 | libyuv::kCpuHasSSE2 | libyuv::kCpuHasSSSE3 |
                  libyuv::kCpuHasSSE41 | libyuv::kCpuHasSSE42},
    {"C", libyuv::kCpuInitialized},
};

// libyuv held to a CPU's rows while in scope.
class CpuRows {
public:
    explicit CpuRows(const Cpu& cpu) { libyuv::MaskCpuFlags(cpu.flags); }
    ~CpuRows() { libyuv::MaskCpuFlags(-1); }
    CpuRows(const CpuRows&) = delete;
    CpuRows& operator=(const CpuRows&) = delete;
};

const FormatClass kFormats[] = {FormatClass::Bgr24, FormatClass::Bgr32, FormatClass::Yuy2, FormatClass::Uyvy,
                                FormatClass::I420,  FormatClass::Nv12,  FormatClass::Nv21};

const char* NameOf(FormatClass cls) {
    switch (cls) {
    case FormatClass::Bgr24: return "BGR24";
    case FormatClass::Bgr32: return "BGR32";
    case FormatClass::Yuy2: return "YUY2";
    case FormatClass::Uyvy: return "UYVY";
    case FormatClass::I420: return "I420";
    case FormatClass::Nv12: return "NV12";
    case FormatClass::Nv21: return "NV21";
    }
    return "?";
}

// Scrambled bytes over the whole 0..255 range, clamping included.
uint8_t Scramble(uint32_t a, uint32_t b, uint32_t salt) {
    uint32_t h = a * 0x9E3779B1u ^ b * 0x85EBCA77u ^ salt * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 13;
    return static_cast<uint8_t>(h >> 7);
}
uint8_t LumaAt(int x, int y) { return Scramble(x, y, 1); }
// Chroma sample (column, row) of U (plane 0) or V (plane 1).
uint8_t ChromaAt(int plane, int column, int row) { return Scramble(column, row, 2 + plane); }
noxd_test::Bgr BgrAt(int x, int y) { return {Scramble(x, y, 4), Scramble(x, y, 5), Scramble(x, y, 6)}; }

bool IsPlanar(FormatClass cls) {
    return cls == FormatClass::I420 || cls == FormatClass::Nv12 || cls == FormatClass::Nv21;
}
bool IsBgr(FormatClass cls) { return cls == FormatClass::Bgr24 || cls == FormatClass::Bgr32; }

// Chroma samples across n pixels: frames given whole (packed) drop a last
// half sample, frames given plane by plane keep it.
int Samples(int n, ChromaSize chroma) { return chroma == ChromaSize::Truncated ? n / 2 : (n + 1) / 2; }

// Byte `i` of row `row` of plane `plane`, as the format lays out the test picture.
uint8_t SampleByte(FormatClass cls, int plane, int i, int row) {
    switch (cls) {
    case FormatClass::Bgr24: {
        const noxd_test::Bgr p = BgrAt(i / 3, row);
        return i % 3 == 0 ? p.b : i % 3 == 1 ? p.g : p.r;
    }
    case FormatClass::Bgr32: {
        const noxd_test::Bgr p = BgrAt(i / 4, row);
        const uint8_t bytes[4] = {p.b, p.g, p.r, 0x5A};
        return bytes[i % 4];
    }
    case FormatClass::Yuy2:
    case FormatClass::Uyvy: {
        // Y0 U Y1 V, or U Y0 V Y1; each row has chroma of its own.
        const int pair = i / 4, at = i % 4;
        const int luma_at = cls == FormatClass::Yuy2 ? at % 2 == 0 : at % 2 == 1;
        if (luma_at) return LumaAt(2 * pair + (at >= 2), row);
        return ChromaAt(cls == FormatClass::Yuy2 ? at == 3 : at == 2, pair, row);
    }
    case FormatClass::I420: return plane == 0 ? LumaAt(i, row) : ChromaAt(plane - 1, i, row);
    case FormatClass::Nv12:
    case FormatClass::Nv21:
        if (plane == 0) return LumaAt(i, row);
        return ChromaAt((i % 2 == 1) == (cls == FormatClass::Nv12), i / 2, row);
    }
    return 0;
}

// What pixel (x, y) should show: the chroma sample covering it, or the
// nearest one the frame has, or grey when it has none.
noxd_test::Rgb ExpectedAt(const FrameGeometry& g, int space, int x, int y) {
    if (IsBgr(g.cls)) {
        const noxd_test::Bgr p = BgrAt(x, y);
        return {p.r, p.g, p.b};
    }
    const int across = Samples(g.width, g.chroma);
    const int down = IsPlanar(g.cls) ? Samples(g.height, g.chroma) : g.height;
    noxd_test::Yuv yuv = {LumaAt(x, y), 128, 128};
    if (across > 0 && down > 0) {
        const int column = std::min(x / 2, across - 1);
        const int row = IsPlanar(g.cls) ? std::min(y / 2, down - 1) : y;
        yuv.u = ChromaAt(0, column, row);
        yuv.v = ChromaAt(1, column, row);
    }
    return noxd_test::ExpectedRgbIn(yuv, space / 2, space % 2);
}

// How the frame's bytes lie in memory.
struct Layout {
    const char* name;
    bool packed;          // one buffer, as noxd_draw_frame takes it (chroma truncated)
    ChromaSize chroma;    // else planes of their own
    int padding;          // bytes after each row
    unsigned up_planes;   // bit p: plane p's rows lie bottom row first
};

// A test picture in a layout, in buffers of its own: against a no-access
// page where `guard` is given.
class TestFrame {
public:
    TestFrame(FormatClass cls, int width, int height, const Layout& layout, const GuardedBuffer::Guard* guard) {
        frame_.geometry = {cls, width, height, layout.packed ? ChromaSize::Truncated : layout.chroma};
        if (layout.packed) {
            uint8_t* bytes = Allocate(noxd::FrameBytes(cls, width, height), guard);
            if (!bytes) return;
            frame_ = noxd::PackedFramePlanes(cls, width, height, bytes);
        } else {
            for (int p = 0; p < noxd::PlaneCount(cls); ++p) {
                const int rows = noxd::PlaneRowCount(frame_.geometry, p);
                const size_t row_bytes = noxd::PlaneRowBytes(frame_.geometry, p);
                if (rows == 0 || row_bytes == 0) continue;
                const ptrdiff_t pitch = static_cast<ptrdiff_t>(row_bytes) + layout.padding;
                uint8_t* bytes = Allocate((rows - 1) * pitch + row_bytes, guard);
                if (!bytes) return;
                std::fill(bytes, bytes + (rows - 1) * pitch + row_bytes, 0xEE);
                const bool up = layout.up_planes >> p & 1;
                frame_.planes[p] = {up ? bytes + (rows - 1) * pitch : bytes, up ? -pitch : pitch};
            }
        }
        for (int p = 0; p < noxd::PlaneCount(cls); ++p) {
            const noxd::PlaneRows& plane = frame_.planes[p];
            const size_t row_bytes = noxd::PlaneRowBytes(frame_.geometry, p);
            if (row_bytes == 0) continue;
            for (int row = 0; row < noxd::PlaneRowCount(frame_.geometry, p); ++row) {
                uint8_t* line = const_cast<uint8_t*>(plane.top) + row * plane.pitch;
                for (size_t i = 0; i < row_bytes; ++i) line[i] = SampleByte(cls, p, static_cast<int>(i), row);
            }
        }
        made_ = true;
    }
    bool made() const { return made_; }
    const FramePlanes& planes() const { return frame_; }

private:
    uint8_t* Allocate(size_t bytes, const GuardedBuffer::Guard* guard) {
        if (guard) {
            guarded_.push_back(std::make_unique<GuardedBuffer>(bytes, *guard));
            return guarded_.back()->data();
        }
        plain_.emplace_back(bytes);
        return plain_.back().data();
    }

    FramePlanes frame_;
    bool made_ = false;
    std::vector<std::vector<uint8_t>> plain_;
    std::vector<std::unique_ptr<GuardedBuffer>> guarded_;
};

constexpr uint8_t kDstPadding = 0xCD;

// Every pixel against its expected colour, and the padding after each row
// untouched; "" when all match, else what the first faults were.
std::string Mismatches(const FrameGeometry& g, int space, bool bottom_up, const uint8_t* dst, size_t pitch,
                       int* worst) {
    std::string faults;
    int count = 0;
    for (int y = 0; y < g.height; ++y) {
        const uint8_t* row = dst + (bottom_up ? g.height - 1 - y : y) * pitch;
        for (int x = 0; x < g.width; ++x) {
            const noxd_test::Rgb want = ExpectedAt(g, space, x, y);
            const int got[3] = {row[4 * x + 2], row[4 * x + 1], row[4 * x]};
            const int error = std::max({std::abs(got[0] - want.r), std::abs(got[1] - want.g),
                                        std::abs(got[2] - want.b)});
            *worst = std::max(*worst, error);
            if (error > kTolerance && ++count <= 3) {
                char line[128];
                std::snprintf(line, sizeof line, " (%d,%d) is %d %d %d, not %d %d %d;", x, y, got[0], got[1],
                              got[2], want.r, want.g, want.b);
                faults += line;
            }
        }
        for (size_t i = 4 * static_cast<size_t>(g.width); i < pitch; ++i)
            if (row[i] != kDstPadding && ++count <= 3)
                faults += " a padding byte of row " + std::to_string(y) + " written;";
    }
    return count ? std::to_string(count) + " faults:" + faults : "";
}

std::string CaseName(const Cpu& cpu, FormatClass cls, int w, int h, const char* layout, int space,
                     bool bottom_up) {
    return std::string(cpu.name) + ": " + NameOf(cls) + " " + std::to_string(w) + "x" + std::to_string(h) +
           ", " + layout + ", space " + std::to_string(space) + (bottom_up ? ", bottom up" : ", top down");
}

TEST(BgraConversionTest, EveryFormatSpaceSizeAndLayoutShowsItsColours) {
    const int sizes[][2] = {{1, 1}, {3, 3}, {1, 5}, {69, 45}, {640, 1}, {640, 4}};
    const Layout layouts[] = {
        {"packed", true, ChromaSize::Truncated, 0, 0},
        {"planes with padded rows", false, ChromaSize::RoundedUp, 3, 0},
        {"planes, luma and V bottom row first", false, ChromaSize::RoundedUp, 5, 0b101},
        {"truncated planes, chroma bottom row first", false, ChromaSize::Truncated, 1, 0b110},
    };
    int worst = 0;
    for (const Cpu& cpu : kCpus) {
        const CpuRows rows(cpu);
        for (FormatClass cls : kFormats)
            for (const auto& size : sizes)
                for (const Layout& layout : layouts) {
                    const TestFrame frame(cls, size[0], size[1], layout, nullptr);
                    ASSERT_TRUE(frame.made());
                    const size_t pitch = 4 * static_cast<size_t>(size[0]) + 8;
                    std::vector<uint8_t> dst(pitch * size[1]);
                    for (int space = 0; space < 4; ++space)
                        for (bool bottom_up : {false, true}) {
                            std::fill(dst.begin(), dst.end(), kDstPadding);
                            noxd::ConvertToBgra(frame.planes(), space, bottom_up, dst.data(),
                                                static_cast<ptrdiff_t>(pitch));
                            EXPECT_EQ(Mismatches(frame.planes().geometry, space, bottom_up, dst.data(), pitch,
                                                 &worst),
                                      "")
                                << CaseName(cpu, cls, size[0], size[1], layout.name, space, bottom_up);
                        }
                }
    }
    std::printf("largest error: %d (tolerance %d)\n", worst, kTolerance);
}

// Frames whose first and last rows in memory, and the destination's, touch
// a no-access page on the outer side: at every odd size, both chroma
// sizes and both pitch signs, not a byte outside the rows is read or
// written (a fault ends the program), and the picture is still right.
TEST(BgraConversionTest, OddFramesStayInsideTheirRows) {
    const int sizes[][2] = {{1, 1}, {1, 4}, {4, 1}, {3, 3}, {5, 2}, {7, 5}, {33, 17}};
    const Layout layouts[] = {
        {"packed", true, ChromaSize::Truncated, 0, 0},
        {"truncated planes", false, ChromaSize::Truncated, 0, 0},
        {"truncated planes bottom row first", false, ChromaSize::Truncated, 0, 0b111},
        {"planes", false, ChromaSize::RoundedUp, 0, 0},
        {"planes bottom row first", false, ChromaSize::RoundedUp, 0, 0b111},
    };
    // Each frame against its no-access pages, made once for every CPU's rows.
    struct Case {
        std::string name;
        std::unique_ptr<TestFrame> frame;
        std::unique_ptr<GuardedBuffer> dst;
        size_t pitch;
    };
    std::vector<Case> cases;
    for (const GuardedBuffer::Guard guard : {GuardedBuffer::Guard::After, GuardedBuffer::Guard::Before})
        for (FormatClass cls : kFormats)
            for (const auto& size : sizes)
                for (const Layout& layout : layouts) {
                    const size_t pitch = 4 * static_cast<size_t>(size[0]);
                    cases.push_back({std::string(NameOf(cls)) + " " + std::to_string(size[0]) + "x" +
                                         std::to_string(size[1]) + ", " + layout.name +
                                         (guard == GuardedBuffer::Guard::After ? ", guard after" : ", guard before"),
                                     std::make_unique<TestFrame>(cls, size[0], size[1], layout, &guard),
                                     std::make_unique<GuardedBuffer>(pitch * size[1], guard), pitch});
                    ASSERT_TRUE(cases.back().frame->made()) << cases.back().name;
                    ASSERT_NE(cases.back().dst->data(), nullptr) << cases.back().name;
                }
    int worst = 0;
    for (const Cpu& cpu : kCpus) {
        const CpuRows rows(cpu);
        for (const Case& c : cases)
            for (bool bottom_up : {false, true}) {
                const std::string what =
                    std::string(cpu.name) + ": " + c.name + (bottom_up ? ", bottom up" : ", top down");
                // A fault ends the program: the last case named is the one at fault.
                std::fprintf(stderr, "converting %s\n", what.c_str());
                const FramePlanes& planes = c.frame->planes();
                noxd::ConvertToBgra(planes, 3, bottom_up, c.dst->data(), static_cast<ptrdiff_t>(c.pitch));
                EXPECT_EQ(Mismatches(planes.geometry, 3, bottom_up, c.dst->data(), c.pitch, &worst), "") << what;
            }
    }
}

}  // namespace
