#include <gtest/gtest.h>

#include "math/frame_layout.h"

using namespace noxd;

TEST(FormatClassTest, FiveCodesMapToTheirClassesAndNothingElse) {
    EXPECT_EQ(FormatClassOf(11), FormatClass::Bgr24);
    EXPECT_EQ(FormatClassOf(10), FormatClass::Bgr32);
    EXPECT_EQ(FormatClassOf(12), FormatClass::Yuy2);
    EXPECT_EQ(FormatClassOf(8), FormatClass::I420);
    EXPECT_EQ(FormatClassOf(9), FormatClass::Uyvy);
    EXPECT_EQ(FormatClassOf(0x3231564E), FormatClass::Nv12);  // 'N' 'V' '1' '2'
    EXPECT_EQ(FormatClassOf(0x3132564E), FormatClass::Nv21);
    for (int bad : {7, 13, 14, 0, -8, 33, 0x3132564F, 0x32315659})
        EXPECT_FALSE(FormatClassOf(bad).has_value()) << bad;
    for (int code : {8, 9, 10, 11, 12, 0x3231564E, 0x3132564E})
        EXPECT_EQ(FormatCodeOf(*FormatClassOf(code)), code);
}

TEST(FrameLayoutTest, CifI420PlanesAndSize) {
    const PlaneOffsets p = I420PlaneOffsets(352, 288);
    EXPECT_EQ(p.u, 101376);
    EXPECT_EQ(p.v, 126720);
    EXPECT_EQ(FrameBytes(FormatClass::I420, 352, 288), 152064u);
}

TEST(FrameLayoutTest, OddSizedI420KeepsUnpaddedPlaneOffsets) {
    // 5*w*h/4 truncates: 7x5 gives V at 43, U at 35.
    const PlaneOffsets p = I420PlaneOffsets(7, 5);
    EXPECT_EQ(p.u, 35);
    EXPECT_EQ(p.v, 43);
}

TEST(FrameLayoutTest, RowsArePaddedToFourBytes) {
    // A 24-bit row of width 5 is 15 bytes of data and 1 of padding.
    EXPECT_EQ(AlignedRowBytes(15), 16u);
    EXPECT_EQ(FrameBytes(FormatClass::Bgr24, 5, 4), 16u * 3 + 15);
    // Widths that are a multiple of 8 leave every layout packed.
    EXPECT_EQ(FrameBytes(FormatClass::Bgr24, 8, 2), 48u);
    EXPECT_EQ(FrameBytes(FormatClass::Bgr32, 8, 2), 64u);
    EXPECT_EQ(FrameBytes(FormatClass::Yuy2, 8, 2), 32u);
    EXPECT_EQ(FrameBytes(FormatClass::Uyvy, 8, 2), 32u);
    EXPECT_EQ(FrameBytes(FormatClass::I420, 8, 2), 24u);
    EXPECT_EQ(FrameBytes(FormatClass::Nv12, 8, 2), 24u);
    // NV12 of odd width: h/2 chroma rows of w bytes, the last byte of each unread.
    EXPECT_EQ(FrameBytes(FormatClass::Nv21, 7, 5), 35u + 7 + 6);
}

TEST(TexturePlanTest, UnitsPlanesAndChromaSizesPerClass) {
    const TexturePlan i420 = TexturePlanFor({FormatClass::I420, 64, 48, ChromaSize::Truncated});
    ASSERT_EQ(i420.count, 3);
    EXPECT_EQ(i420.uploads[0].unit, 2);
    EXPECT_EQ(i420.uploads[0].plane, 2);
    EXPECT_EQ(i420.uploads[1].unit, 1);
    EXPECT_EQ(i420.uploads[1].width, 32);
    EXPECT_EQ(i420.uploads[1].height, 24);
    EXPECT_EQ(i420.uploads[2].unit, 0);
    EXPECT_EQ(i420.uploads[2].width, 64);

    const TexturePlan packed = TexturePlanFor({FormatClass::Uyvy, 63, 48, ChromaSize::Truncated});
    ASSERT_EQ(packed.count, 2);
    EXPECT_EQ(packed.uploads[0].unit, 1);
    EXPECT_EQ(packed.uploads[0].width, 31);
    EXPECT_EQ(packed.uploads[0].layout, TexelLayout::RgbaFromBgra);
    EXPECT_EQ(packed.uploads[1].layout, TexelLayout::LuminanceAlpha);
    // Given plane by plane, a half pair and half row are kept.
    EXPECT_EQ(TexturePlanFor({FormatClass::Uyvy, 63, 48, ChromaSize::RoundedUp}).uploads[0].width, 32);
    const TexturePlan nv12 = TexturePlanFor({FormatClass::Nv12, 7, 5, ChromaSize::RoundedUp});
    ASSERT_EQ(nv12.count, 2);
    EXPECT_EQ(nv12.uploads[0].plane, 1);
    EXPECT_EQ(nv12.uploads[0].width, 4);
    EXPECT_EQ(nv12.uploads[0].height, 3);
    EXPECT_EQ(nv12.uploads[0].layout, TexelLayout::LuminanceAlpha);
    EXPECT_EQ(PlaneRowBytes({FormatClass::Nv12, 7, 5, ChromaSize::RoundedUp}, 1), 8u);
    EXPECT_EQ(PlaneRowBytes({FormatClass::Yuy2, 7, 5, ChromaSize::RoundedUp}, 0), 16u);

    const TexturePlan bgr = TexturePlanFor({FormatClass::Bgr32, 64, 48, ChromaSize::Truncated});
    ASSERT_EQ(bgr.count, 1);
    EXPECT_EQ(bgr.uploads[0].layout, TexelLayout::RgbFromBgra);
}

// How rows reach GL: one call whenever alignment or row length can say the
// pitch, row by row otherwise, and from the lowest row up when the frame
// runs bottom up.
TEST(RowSourceTest, OneCallWherePossibleRowByRowElsewhere) {
    alignas(8) static const uint8_t buffer[4096] = {};
    const uint8_t* top = buffer + 2048;
    struct Case {
        TexelLayout layout;
        int32_t width;
        ptrdiff_t pitch;
        bool bottom_up;
        int alignment;
        int32_t row_length;
        ptrdiff_t first, step;  // from `top`
    } const cases[] = {
        {TexelLayout::Luminance, 64, 64, false, 4, 0, 0, 64},         // packed: GL's default
        {TexelLayout::Luminance, 60, 64, false, 8, 0, 0, 64},
        {TexelLayout::RgbFromBgr, 5, 16, false, 4, 0, 0, 16},         // 15 bytes padded to 16
        {TexelLayout::RgbFromBgr, 5, 24, false, 8, 8, 0, 24},         // a whole number of texels
        {TexelLayout::RgbFromBgr, 5, 21, false, 1, 7, 0, 21},
        {TexelLayout::RgbFromBgr, 5, 20, false, 0, 0, 0, 20},         // neither
        {TexelLayout::Luminance, 100, 128, false, 8, 128, 0, 128},    // decoder padding
        {TexelLayout::LuminanceAlpha, 3, 10, false, 2, 5, 0, 10},     // a stride of 10 is 2-byte aligned
        {TexelLayout::LuminanceAlpha, 3, 9, false, 0, 0, 0, 9},       // no whole number of texels
        {TexelLayout::RgbFromBgra, 4, -16, true, 4, 0, -48, 16},      // bottom-up BGR: lowest row first
        {TexelLayout::Luminance, 4, -32, false, 0, 0, 0, -32},        // against the first plane
        {TexelLayout::Luminance, 4, 32, true, 0, 0, 96, -32},
    };
    for (const Case& c : cases) {
        const TextureUpload t = {0, 0, c.width, 4, c.layout};
        const RowSource r = RowSourceFor(t, {top, c.pitch}, c.bottom_up);
        EXPECT_EQ(r.alignment, c.alignment) << c.width << " " << c.pitch;
        EXPECT_EQ(r.row_length, c.row_length) << c.width << " " << c.pitch;
        EXPECT_EQ(r.first - top, c.first) << c.width << " " << c.pitch;
        EXPECT_EQ(r.step, c.step) << c.width << " " << c.pitch;
    }
}

// Every field at fault is named, and nothing that would make GL read outside
// the host's rows or wrap around the address space gets through.
TEST(PlanesFaultTest, NamesTheFieldAtFault) {
    static uint8_t y[64 * 8], uv[64 * 4];
    const auto nv12 = [&](int32_t w, int32_t h, ptrdiff_t y_pitch, ptrdiff_t uv_pitch) {
        return FramePlanes{{FormatClass::Nv12, w, h, ChromaSize::RoundedUp}, {{y, y_pitch}, {uv, uv_pitch}, {}}};
    };
    struct Case {
        FramePlanes frame;
        const char* fault;  // null: drawable
    } const cases[] = {
        {nv12(64, 8, 64, 64), nullptr},
        {nv12(63, 7, 64, -64), nullptr},
        {nv12(0, 8, 64, 64), "width is below 1 or above the GL's maximum texture size"},
        {nv12(64, -1, 64, 64), "height is below 1 or above the GL's maximum texture size"},
        {nv12(8193, 8, 8200, 8200), "width is below 1 or above the GL's maximum texture size"},
        {nv12(65535, 65535, 65536, 65536), "width is below 1 or above the GL's maximum texture size"},
        {nv12(64, 8, 63, 64), "pitch[0] is smaller than a row"},
        {nv12(63, 8, 64, 62), "pitch[1] is smaller than a row"},
        {nv12(64, 8, 0, 64), "pitch[0] is smaller than a row"},
        {{{FormatClass::Nv12, 64, 8, ChromaSize::RoundedUp}, {{y, 64}, {nullptr, 64}, {}}}, "data[1] is null"},
        {{{FormatClass::I420, 64, 8, ChromaSize::RoundedUp}, {{y, 64}, {uv, 32}, {nullptr, 32}}}, "data[2] is null"},
        // A plane the format does not use is not looked at.
        {{{FormatClass::Bgr24, 21, 8, ChromaSize::RoundedUp}, {{y, 63}, {nullptr, 0}, {nullptr, -5}}}, nullptr},
        // Rows that would run below address 0 or past the top of the address space.
        {{{FormatClass::Bgr32, 4, 4096, ChromaSize::RoundedUp},
          {{reinterpret_cast<const uint8_t*>(uintptr_t{0x1000}), -0x10000}, {}, {}}},
         "pitch[0] takes the rows out of the address space"},
        {{{FormatClass::Bgr32, 4, 4096, ChromaSize::RoundedUp},
          {{reinterpret_cast<const uint8_t*>(UINTPTR_MAX - 0xFFF), 0x10000}, {}, {}}},
         "pitch[0] takes the rows out of the address space"},
    };
    for (const Case& c : cases) {
        const char* fault = PlanesFault(c.frame, 8192);
        EXPECT_STREQ(fault, c.fault) << c.frame.geometry.width << "x" << c.frame.geometry.height;
    }
}

TEST(PackedFramePlanesTest, PlanesOfThePackedLayouts) {
    alignas(4) static const uint8_t frame[4096] = {};
    const FramePlanes bgr = PackedFramePlanes(FormatClass::Bgr24, 5, 3, frame);
    EXPECT_EQ(bgr.planes[0].top, frame + 32);  // the last of three 16-byte rows
    EXPECT_EQ(bgr.planes[0].pitch, -16);
    EXPECT_TRUE(RowsBottomUp(bgr));
    const FramePlanes i420 = PackedFramePlanes(FormatClass::I420, 7, 5, frame);
    EXPECT_EQ(i420.planes[1].top, frame + 35);
    EXPECT_EQ(i420.planes[2].top, frame + 43);
    EXPECT_EQ(i420.planes[2].pitch, 3);
    EXPECT_FALSE(RowsBottomUp(i420));
    const FramePlanes nv21 = PackedFramePlanes(FormatClass::Nv21, 7, 5, frame);
    EXPECT_EQ(nv21.planes[1].top, frame + 35);
    EXPECT_EQ(nv21.planes[1].pitch, 7);
    EXPECT_EQ(nv21.geometry.chroma, ChromaSize::Truncated);
}

TEST(ViewportMathTest, VideoPositionToGlViewport) {
    const Viewport whole = ViewportFromVideoPos(0, 1, 1, 0, 800, 600);
    EXPECT_EQ(whole.x, 0);
    EXPECT_EQ(whole.y, 0);
    EXPECT_EQ(whole.width, 800);
    EXPECT_EQ(whole.height, 600);

    const Viewport centred = ViewportFromVideoPos(0.25f, 0.75f, 0.75f, 0.25f, 800, 600);
    EXPECT_EQ(centred.x, 200);
    EXPECT_EQ(centred.y, 150);
    EXPECT_EQ(centred.width, 400);
    EXPECT_EQ(centred.height, 300);

    // GL counts rows from the bottom: a band at the top of the client area.
    const Viewport top_band = ViewportFromVideoPos(0, 0.25f, 1, 0, 400, 400);
    EXPECT_EQ(top_band.y, 300);
    EXPECT_EQ(top_band.height, 100);

    // Fractions truncate toward zero.
    const Viewport third = ViewportFromVideoPos(0.333f, 1, 1, 0, 100, 100);
    EXPECT_EQ(third.x, 33);
    EXPECT_EQ(third.width, 66);
}

// Only a viewport that leaves no client pixel uncovered spares the clear.
TEST(ViewportMathTest, CoversClientOnlyWhenNoPixelIsLeftOut) {
    struct Case {
        float left, bottom, right, top;
        bool covers;
    } const cases[] = {
        {0, 1, 1, 0, true},             // the whole client area
        {-0.5f, 1.5f, 1.5f, -0.5f, true},  // larger than it on every side
        {0, 1, 0.999f, 0, false},       // one column short on the right
        {0.001f, 1, 1, 0, false},       // one column short on the left
        {0, 1, 1, 0.01f, false},        // a row short at the top
        {0, 0.99f, 1, 0, false},        // a row short at the bottom
        {0.25f, 0.75f, 0.75f, 0.25f, false},
    };
    for (const Case& c : cases) {
        const Viewport v = ViewportFromVideoPos(c.left, c.bottom, c.right, c.top, 800, 600);
        EXPECT_EQ(CoversClient(v, 800, 600), c.covers)
            << c.left << " " << c.bottom << " " << c.right << " " << c.top;
    }
}

TEST(VideoQuadTest, TopFirstRowsAreFlippedOntoTheQuad) {
    const VideoQuad up = UprightVideoQuad(true);
    EXPECT_EQ(up.vertex[0][1], -1.0f);  // texture row 0 at the bottom
    EXPECT_EQ(up.vertex[2][1], 1.0f);
    const VideoQuad down = UprightVideoQuad(false);
    EXPECT_EQ(down.tex[0][1], 0.0f);
    EXPECT_EQ(down.vertex[0][1], 1.0f);  // texture row 0 at the top
    EXPECT_EQ(down.vertex[2][1], -1.0f);
    EXPECT_EQ(down.vertex[1][0], 1.0f);
}
