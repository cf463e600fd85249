// The stand-in camera's NV12 pictures, which the viewer's NV12 runs show:
// the same picture as its other formats, in the layout NV12 has.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "sim_media.h"

namespace {

struct Shape {
    int width, height;
    uint32_t alignment, stride;
};

// BT.601 studio range back to RGB, rounded and clamped.
int Channel(double value) { return static_cast<int>(std::min(255.0, std::max(0.0, std::round(value)))); }

// Luma as YUY2 has it byte for byte; chroma of each 2 x 2 block close to
// every one of its pixels in RGB32 (the pattern changes by at most one step
// inside a block); padding 0; odd sizes with their last half blocks.
TEST(ViewerSimPicture, Nv12IsTheRgb32PictureWithLumaOfYuy2AndChromaOfEachBlock) {
    const uint32_t sequence = 3;
    for (const Shape& s : {Shape{640, 480, 64, 640}, Shape{7, 5, 16, 16}, Shape{6, 3, 1, 6}, Shape{1, 1, 4, 4}}) {
        SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
        const uint32_t stride = noxsim::PaddedNv12Stride(s.width, s.alignment);
        ASSERT_EQ(stride, s.stride);
        const std::vector<uint8_t> nv12 =
            noxsim::RenderPicture(sequence, s.width, s.height, nox::kMediaSimNv12, stride);
        const std::vector<uint8_t> yuy2 = noxsim::RenderPicture(sequence, s.width, s.height, nox::kMediaYuv422);
        const std::vector<uint8_t> rgb = noxsim::RenderPicture(sequence, s.width, s.height, nox::kMediaRgb32);
        const int chroma_rows = (s.height + 1) / 2;
        ASSERT_EQ(nv12.size(), static_cast<size_t>(stride) * (s.height + chroma_rows));
        const uint8_t* chroma = nv12.data() + static_cast<size_t>(stride) * s.height;
        int worst = 0;
        for (int y = 0; y < s.height; ++y) {
            for (int x = 0; x < s.width; ++x) {
                const int luma = nv12[y * stride + x];
                ASSERT_EQ(luma, yuy2[(y * s.width + x) * 2]) << "at " << x << "," << y;
                const uint8_t* pair = chroma + (y / 2) * stride + (x / 2) * 2;
                const double l = 1.164 * (luma - 16), u = pair[0] - 128.0, v = pair[1] - 128.0;
                const uint8_t* want = &rgb[(y * s.width + x) * 4];  // B, G, R, 0
                worst = std::max({worst, std::abs(Channel(l + 2.018 * u) - want[0]),
                                  std::abs(Channel(l - 0.391 * u - 0.813 * v) - want[1]),
                                  std::abs(Channel(l + 1.596 * v) - want[2])});
            }
        }
        EXPECT_LE(worst, 3);
        for (int row = 0; row < s.height + chroma_rows; ++row) {
            const uint32_t used = row < s.height ? s.width : (s.width + 1) / 2 * 2;
            for (uint32_t i = used; i < stride; ++i) ASSERT_EQ(nv12[row * stride + i], 0) << "row " << row;
        }
    }
}

// The sizes NOX_SIM_SIZES names, each for NOX_SIM_SIZE_FRAMES frames in turn.
TEST(ViewerSimPicture, SizesFollowEachOtherEveryNFramesAndAWrongListIsIgnored) {
    const std::vector<noxsim::PictureSize> sizes = noxsim::ParseSizes("640x480,352x288,1280x720");
    ASSERT_EQ(sizes.size(), 3u);
    const struct {
        uint32_t sequence;
        int width, height;
    } frames[] = {{0, 640, 480}, {24, 640, 480}, {25, 352, 288}, {50, 1280, 720}, {75, 640, 480}, {99, 640, 480}, {100, 352, 288}};
    for (const auto& f : frames) {
        const noxsim::PictureSize size = noxsim::SizeOfFrame(sizes, 25, f.sequence);
        EXPECT_EQ(size.width, f.width) << "frame " << f.sequence;
        EXPECT_EQ(size.height, f.height) << "frame " << f.sequence;
    }
    for (const char* wrong : {"", "640x", "640x480,", "0x480", "4097x10", "64x48x2", "640X480", "-64x48"})
        EXPECT_TRUE(noxsim::ParseSizes(wrong).empty()) << wrong;
    EXPECT_EQ(noxsim::SizeOfFrame({}, 25, 30).width, noxsim::kDefaultWidth);
}

// NOX_SIM_SAR's ratio as OnDecodedFrame's last word carries it to the viewer:
// what the stand-in reads is what the viewer unpacks; anything else, and the
// vendor's 0, is square.
TEST(ViewerSimPicture, SampleAspectCrossesTheCallbackWord) {
    const struct {
        const char* text;
        uint32_t num, den;
    } cases[] = {{"12:11", 12, 11}, {"10:11", 10, 11}, {"1:1", 1, 1}, {"4096:1", 4096, 1}, {"1:4096", 1, 4096},
                 {"", 0, 0},        {"12", 0, 0},      {"12:", 0, 0}, {":11", 0, 0},       {"0:11", 0, 0},
                 {"12:0", 0, 0},    {"4097:1", 0, 0},  {"12/11", 0, 0}, {"-12:11", 0, 0},  {"12:11:1", 0, 0}};
    for (const auto& c : cases) {
        const nox::SampleAspect sent = noxsim::ParseSampleAspect(c.text);
        EXPECT_EQ(sent.num, c.num) << c.text;
        EXPECT_EQ(sent.den, c.den) << c.text;
        const nox::SampleAspect taken = nox::UnpackSampleAspect(nox::PackSampleAspect(sent));
        EXPECT_EQ(taken.num, c.num) << c.text;
        EXPECT_EQ(taken.den, c.den) << c.text;
    }
    EXPECT_EQ(nox::UnpackSampleAspect(0).num, 0u);
    EXPECT_EQ(nox::UnpackSampleAspect(-1).num, 0u);
    EXPECT_EQ(nox::UnpackSampleAspect(12 << 16).num, 0u);
}

}  // namespace
