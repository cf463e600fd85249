#include <gtest/gtest.h>

#include <cstring>

#include "decoded_frame.h"

namespace viewer {
namespace {

// A descriptor as the component lays it out: 32-bit words, a native pointer at 40.
std::vector<uint8_t> Desc(uint32_t media, uint32_t w, uint32_t h, uint32_t stride, uint32_t length,
                          const uint8_t* payload, uint32_t size = nox::kFrameDescSize) {
    std::vector<uint8_t> desc(40 + sizeof(void*));
    const uint32_t words[10] = {size, 77, media, w, h, 1234, 1, 1, stride, length};
    std::memcpy(desc.data(), words, sizeof words);
    std::memcpy(desc.data() + 40, &payload, sizeof payload);
    return desc;
}

TEST(ViewerDecodedFrame, ReadsTheDescriptorFields) {
    const uint8_t pixels[8] = {};
    const nox::FrameDesc f = nox::ReadDecodedFrameDesc(Desc(34, 2, 1, 8, 8, pixels).data());
    EXPECT_EQ(f.size, 44u);
    EXPECT_EQ(f.sequence, 77u);
    EXPECT_EQ(f.media_type, 34u);
    EXPECT_EQ(f.width, 2u);
    EXPECT_EQ(f.height, 1u);
    EXPECT_EQ(f.stride, 8u);
    EXPECT_EQ(f.length, 8u);
    EXPECT_EQ(f.payload, pixels);
}

TEST(ViewerDecodedFrame, OnlyWholePicturesOfTheViewsFormatAndSizeFit) {
    const uint8_t pixels[64] = {};
    const auto fits = [&](const std::vector<uint8_t>& desc, PictureFormat format) {
        return Fits(nox::ReadDecodedFrameDesc(desc.data()), format, 4, 2);
    };
    EXPECT_TRUE(fits(Desc(34, 4, 2, 16, 32, pixels), PictureFormat::kRgb32));
    EXPECT_TRUE(fits(Desc(33, 4, 2, 8, 16, pixels), PictureFormat::kYuy2));
    EXPECT_FALSE(fits(Desc(33, 4, 2, 8, 16, pixels), PictureFormat::kRgb32));      // other format
    EXPECT_FALSE(fits(Desc(34, 4, 2, 16, 32, pixels, 40), PictureFormat::kRgb32)); // other descriptor
    EXPECT_FALSE(fits(Desc(34, 4, 2, 16, 32, nullptr), PictureFormat::kRgb32));    // no payload
    EXPECT_FALSE(fits(Desc(34, 4, 2, 0, 32, pixels), PictureFormat::kRgb32));      // no stride
    EXPECT_FALSE(fits(Desc(34, 4, 2, 16, 31, pixels), PictureFormat::kRgb32));     // short payload
    EXPECT_FALSE(fits(Desc(34, 2, 2, 8, 16, pixels), PictureFormat::kRgb32));      // other size
}

TEST(ViewerDecodedFrame, Rgb32IsTurnedBottomRowFirstForTheRenderer) {
    // Two rows of one pixel, stride 8 with padding: top row 1..4, bottom row 5..8.
    const uint8_t pixels[16] = {1, 2, 3, 4, 99, 99, 99, 99, 5, 6, 7, 8, 99, 99, 99, 99};
    std::vector<uint8_t> out;
    CopyToRendererLayout(nox::ReadDecodedFrameDesc(Desc(34, 1, 2, 8, 16, pixels).data()), PictureFormat::kRgb32, out);
    EXPECT_EQ(out, (std::vector<uint8_t>{5, 6, 7, 8, 1, 2, 3, 4}));
}

TEST(ViewerDecodedFrame, Yuy2KeepsTopRowFirstWithRowsPaddedToFourBytes) {
    // Width 1 gives 2 bytes a row, read by the renderer as 4.
    const uint8_t pixels[6] = {10, 11, 99, 20, 21, 99};
    std::vector<uint8_t> out;
    CopyToRendererLayout(nox::ReadDecodedFrameDesc(Desc(33, 1, 2, 3, 6, pixels).data()), PictureFormat::kYuy2, out);
    EXPECT_EQ(out, (std::vector<uint8_t>{10, 11, 0, 0, 20, 21, 0, 0}));
    EXPECT_EQ(out.size(), RendererFrameBytes(PictureFormat::kYuy2, 1, 2));
}

}  // namespace
}  // namespace viewer
