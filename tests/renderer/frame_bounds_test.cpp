// Frames that end exactly at an inaccessible page: drawing one may read every
// byte of the frame's documented size and not one byte more, for every
// format and for odd widths and heights. A read past the end faults.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "support/frames.h"
#include "support/guarded_buffer.h"
#include "support/renderer_fixture.h"

namespace {

// Documented frame sizes: I420 w h 3/2 (its planes unpadded); packed 4:2:2
// rows are whole 4-byte pixel pairs; BGR rows padded to 4 bytes.
size_t DocumentedFrameBytes(int format, size_t w, size_t h) {
    switch (format) {
    case NOXD_FORMAT_I420: return w * h * 3 / 2;
    case NOXD_FORMAT_UYVY:
    case NOXD_FORMAT_YUY2: return 4 * ((w + 1) / 2) * h;
    case NOXD_FORMAT_BGR32: return 4 * w * h;
    case NOXD_FORMAT_BGR24: return ((3 * w + 3) & ~size_t{3}) * h;
    }
    return 0;
}

using noxd_test::GuardedBuffer;

TEST(FrameBoundsTest, NoFormatReadsPastTheDocumentedSize) {
    const int formats[] = {NOXD_FORMAT_I420, NOXD_FORMAT_UYVY, NOXD_FORMAT_YUY2, NOXD_FORMAT_BGR32,
                           NOXD_FORMAT_BGR24};
    const int sizes[][2] = {{1, 1}, {1, 9}, {2, 20}, {3, 3}, {5, 3}, {6, 4}, {7, 5}, {33, 17}, {64, 48}};
    for (int format : formats)
        for (const auto& size : sizes) {
            const std::string what =
                "format " + std::to_string(format) + ", " + std::to_string(size[0]) + "x" + std::to_string(size[1]);
            // A read of the guard page faults inside the GL driver, which
            // under Wine may hang rather than end the process: the last case
            // named is the one at fault.
            std::fprintf(stderr, "drawing %s\n", what.c_str());
            noxd_test::ScopedRenderer view(format, size[0], size[1], 64, 48);
            ASSERT_EQ(view.status(), S_OK) << what;
            const size_t bytes = DocumentedFrameBytes(format, size[0], size[1]);
            GuardedBuffer frame(bytes);
            ASSERT_NE(frame.data(), nullptr) << what;
            std::memset(frame.data(), 0x80, bytes);
            EXPECT_EQ(noxd_draw_frame(view.get(), frame.data()), S_OK) << what;
        }
}

// Frames given plane by plane whose last row read ends at a no-access page,
// for every format, both pitch signs, pitches with and without padding and
// odd sizes: the renderer reads (rows - 1) x |pitch| plus one row's bytes
// of each plane and nothing more. One view takes them all, its size and
// format changing from frame to frame.
TEST(FrameBoundsTest, NoPlaneIsReadPastItsLastRow) {
    const int formats[] = {NOXD_FORMAT_I420, NOXD_FORMAT_NV12, NOXD_FORMAT_NV21, NOXD_FORMAT_UYVY,
                           NOXD_FORMAT_YUY2, NOXD_FORMAT_BGR32, NOXD_FORMAT_BGR24};
    const int sizes[][2] = {{1, 1}, {3, 3}, {7, 5}, {33, 17}};
    const int paddings[] = {0, 3};
    noxd_test::ScopedRenderer view(NOXD_FORMAT_I420, 16, 16, 64, 48);
    ASSERT_EQ(view.status(), S_OK);
    for (int format : formats)
        for (const auto& size : sizes)
            for (int padding : paddings)
                for (int sign : {1, -1}) {
                    char what[96];
                    std::snprintf(what, sizeof what, "format 0x%X, %dx%d, pitch %s row + %d",
                                  static_cast<unsigned>(format), size[0], size[1], sign > 0 ? "+" : "-", padding);
                    std::fprintf(stderr, "drawing %s\n", what);
                    NOXD_PLANES desc = {sizeof desc, format, size[0], size[1], {}, {}};
                    std::vector<std::unique_ptr<GuardedBuffer>> planes;
                    for (int p = 0; p < 3; ++p) {
                        const int rows = noxd_test::PlaneRows(format, size[1], p);
                        if (rows == 0) continue;
                        const size_t row = noxd_test::PlaneRowBytes(format, size[0], p);
                        const size_t pitch = row + padding;
                        const size_t bytes = (rows - 1) * pitch + row;
                        planes.push_back(std::make_unique<GuardedBuffer>(bytes));
                        uint8_t* base = planes.back()->data();
                        ASSERT_NE(base, nullptr) << what;
                        std::memset(base, 0x80, bytes);
                        // The top row is the first in memory, or the last.
                        desc.data[p] = sign > 0 ? base : base + (rows - 1) * pitch;
                        desc.pitch[p] = sign * static_cast<INT>(pitch);
                    }
                    EXPECT_EQ(noxd_draw_planes(view.get(), &desc), S_OK) << what;
                }
}

// A 3-pixel UYVY row is two pairs, the second half used; each row has a
// chroma of its own, which shows only when the chroma rows step over the
// half-used pair as the luma rows do.
TEST(FrameBoundsTest, OddWidthPackedRowsKeepTheirChroma) {
    const noxd_test::Yuv rows[] = {{128, 240, 128}, {128, 16, 128}, {128, 128, 240}, {128, 128, 16}};
    const int width = 3, height = 4, stride = 8;
    std::vector<uint8_t> frame(stride * height);
    for (int row = 0; row < height; ++row)
        for (int pair = 0; pair < 2; ++pair) {
            uint8_t* p = &frame[row * stride + 4 * pair];
            p[0] = rows[row].u, p[1] = rows[row].y, p[2] = rows[row].v, p[3] = rows[row].y;
        }
    noxd_test::ScopedRenderer view(NOXD_FORMAT_UYVY, width, height, 60, 80);
    ASSERT_EQ(view.status(), S_OK);
    const noxd_test::Capture shot = view.DrawAndCapture(frame);
    for (int row = 0; row < height; ++row)
        EXPECT_TRUE(noxd_test::Near(shot.At(10, 10 + 20 * row), noxd_test::ExpectedRgb(rows[row]), 12))
            << "row " << row;
}

}  // namespace
