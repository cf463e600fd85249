// Snapshot files as PNG, against the picture a user snapshots most: the
// simulated camera's at its own 640 x 480, as a view shows it 1:1, its YUY2
// frame converted as the renderer converts it. The chroma shared by pixel
// pairs and the rounding of limited range make it compress like the viewer's
// snapshots; the camera's pure ramps would compress many times better.
#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb_image.h>

#include <cstdint>
#include <vector>

#include "bgra_conversion.h"
#include "image_files.h"
#include "sim_media.h"

namespace {

noxd::Picture CameraPicture(uint32_t sequence) {
    noxd::Picture picture;
    picture.width = noxsim::kDefaultWidth;
    picture.height = noxsim::kDefaultHeight;
    const std::vector<uint8_t> yuy2 =
        noxsim::RenderPicture(sequence, picture.width, picture.height, nox::kMediaYuv422);
    const noxd::FramePlanes frame =
        noxd::PackedFramePlanes(noxd::FormatClass::Yuy2, picture.width, picture.height, yuy2.data());
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    noxd::ConvertToBgra(frame, noxd::kDefaultColorSpace, false, reinterpret_cast<uint8_t*>(picture.pixels.data()),
                        picture.width * 4);
    for (uint32_t& p : picture.pixels) p &= 0xFFFFFF;  // B, G, R bytes; the alpha byte is left unspecified
    return picture;
}

TEST(ImageFilesTest, CameraPictureAsPngTakesAThirdOfItsRgbAtMostAndReadsBackExactly) {
    const noxd::Picture picture = CameraPicture(37);
    const std::vector<uint8_t> png = noxd::EncodePng(picture);
    const size_t rgb_bytes = picture.pixels.size() * 3;
    ASSERT_GT(png.size(), 26u);
    EXPECT_LE(png.size(), rgb_bytes / 3) << "of " << rgb_bytes << " bytes of RGB";
    // The header's bit depth and colour type: 8-bit RGB, no palette, no alpha.
    EXPECT_EQ(png[24], 8);
    EXPECT_EQ(png[25], 2);

    int w = 0, h = 0, channels = 0;
    stbi_uc* decoded = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &channels, 0);
    ASSERT_NE(decoded, nullptr) << stbi_failure_reason();
    ASSERT_EQ(w, picture.width);
    ASSERT_EQ(h, picture.height);
    ASSERT_EQ(channels, 3);
    int mismatches = 0;
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const uint32_t p = picture.pixels[i];
        const stbi_uc* q = decoded + i * 3;
        if (q[0] != (p >> 16 & 0xFF) || q[1] != (p >> 8 & 0xFF) || q[2] != (p & 0xFF)) ++mismatches;
    }
    stbi_image_free(decoded);
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
