// The picture check: the card shown right passes, a wrong picture fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "test_card.h"

using namespace bench;

namespace {

constexpr int kW = 320, kH = 240;

// What a correct pipeline puts on the screen: the expected colours, 1:1.
Screenshot ShownCard(int format, int width, int height) {
    Screenshot s{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            s.pixels[static_cast<size_t>(y) * width + x] =
                ExpectedCardColour(format, x * kW / width, y * kH / height, kW, kH);
    return s;
}

const ClientRegion kAll = {0, 0, 10000, 10000};

}  // namespace

TEST(TestCardTest, TheCardAsShownPasses) {
    for (int format : {8, 9, 10, 11, 12, kFormatNv12}) {
        const CardVerdict v = CheckCard(ShownCard(format, kW, kH), format, kW, kH, kAll);
        EXPECT_TRUE(v.Shown()) << format << " " << v.first_wrong;
        EXPECT_GT(v.compared, 100) << format;
    }
}

TEST(TestCardTest, AScaledCardIsComparedAtScale) {
    const CardVerdict v = CheckCard(ShownCard(12, 160, 120), 12, kW, kH, kAll);
    EXPECT_TRUE(v.Shown()) << v.first_wrong;
}

TEST(TestCardTest, AnUpsideDownPictureFails) {
    Screenshot s = ShownCard(11, kW, kH);
    for (int y = 0; y < kH / 2; ++y)
        std::swap_ranges(s.pixels.begin() + y * kW, s.pixels.begin() + (y + 1) * kW,
                         s.pixels.begin() + (kH - 1 - y) * kW);
    const CardVerdict v = CheckCard(s, 11, kW, kH, kAll);
    EXPECT_FALSE(v.Shown());
    EXPECT_GT(v.wrong, 10);
    EXPECT_NE(v.first_wrong.find("want"), std::string::npos);
}

TEST(TestCardTest, SwappedRedAndBlueFail) {
    Screenshot s = ShownCard(8, kW, kH);
    for (uint32_t& p : s.pixels) p = (p & 0x00FF00) | (p >> 16 & 0xFF) | (p & 0xFF) << 16;
    EXPECT_FALSE(CheckCard(s, 8, kW, kH, kAll).Shown());
}

TEST(TestCardTest, ABlackWindowFailsAndAnEmptyShotChecksNothing) {
    Screenshot black{kW, kH, std::vector<uint32_t>(kW * kH, 0)};
    EXPECT_FALSE(CheckCard(black, 12, kW, kH, kAll).Shown());
    const CardVerdict none = CheckCard(Screenshot{}, 12, kW, kH, kAll);
    EXPECT_EQ(none.compared, 0);
    EXPECT_FALSE(none.Shown());
}

TEST(TestCardTest, OnlyTheRegionIsChecked) {
    Screenshot s = ShownCard(10, kW, kH);
    // Something drawn over the top half, as overlays are.
    std::fill(s.pixels.begin(), s.pixels.begin() + kW * kH / 2, 0x123456u);
    EXPECT_FALSE(CheckCard(s, 10, kW, kH, kAll).Shown());
    EXPECT_TRUE(CheckCard(s, 10, kW, kH, {0, kH / 2, kW, kH}).Shown());
}

TEST(TestCardTest, YuvFormatsExpectTheConvertedColours) {
    // White bars of 235 come back through BT.601 close to, not exactly, 235.
    const uint32_t rgb = ExpectedCardColour(11, 2, 2, kW, kH);
    const uint32_t yuv = ExpectedCardColour(12, 2, 2, kW, kH);
    EXPECT_EQ(rgb, 0xEBEBEBu);
    for (int shift : {0, 8, 16}) EXPECT_NEAR(int(yuv >> shift & 0xFF), 235, 3);
}

TEST(TestCardTest, FramesHaveTheFormatsSizes) {
    EXPECT_EQ(CardFrame(8, kW, kH).size(), size_t{kW * kH * 3 / 2});
    EXPECT_EQ(CardFrame(12, kW, kH).size(), size_t{kW * kH * 2});
    EXPECT_EQ(CardFrame(10, kW, kH).size(), size_t{kW * kH * 4});
    EXPECT_EQ(MovingFrames(9, kW, kH, 3).size(), 3u);
    EXPECT_NE(MovingFrames(9, kW, kH, 2)[0], MovingFrames(9, kW, kH, 2)[1]);
}

TEST(TestCardTest, Nv12CarriesTheI420SamplesWithEachUBesideItsV) {
    const std::vector<uint8_t> i420 = MovingFrames(8, kW, kH, 2)[1];
    const std::vector<uint8_t> nv12 = MovingFrames(kFormatNv12, kW, kH, 2)[1];
    const size_t luma = size_t{kW} * kH, chroma = luma / 4;
    ASSERT_EQ(nv12.size(), i420.size());
    EXPECT_TRUE(std::equal(i420.begin(), i420.begin() + luma, nv12.begin()));
    for (size_t i = 0; i < chroma; ++i) {
        ASSERT_EQ(nv12[luma + 2 * i], i420[luma + i]) << "U " << i;
        ASSERT_EQ(nv12[luma + 2 * i + 1], i420[luma + chroma + i]) << "V " << i;
    }
    EXPECT_EQ(ExpectedCardColour(kFormatNv12, 100, 50, kW, kH), ExpectedCardColour(8, 100, 50, kW, kH));
}

// Every row of the packed frame at its padded place, planes one after
// another, nothing but zeros in between.
void ExpectPaddedRows(int format, int width, int height, const std::vector<int>& pitches) {
    const std::vector<uint8_t> packed = CardFrame(format, width, height);
    const PaddedFrame padded = PadRows(packed, format, width, height);
    const std::vector<PlaneRows> planes = PackedPlanes(format, width, height);
    ASSERT_EQ(padded.planes.size(), pitches.size());
    size_t next = 0, copied = 0;
    for (size_t i = 0; i < planes.size(); ++i) {
        const PlaneRows& to = padded.planes[i];
        EXPECT_EQ(to.pitch, pitches[i]) << format << " plane " << i;
        EXPECT_EQ(to.offset, next) << format << " plane " << i;
        EXPECT_EQ(to.row_bytes, planes[i].row_bytes);
        EXPECT_EQ(to.rows, planes[i].rows);
        for (int row = 0; row < to.rows; ++row)
            ASSERT_EQ(std::memcmp(padded.bytes.data() + to.offset + size_t(row) * to.pitch,
                                  packed.data() + planes[i].offset + size_t(row) * planes[i].row_bytes,
                                  to.row_bytes),
                      0)
                << format << " plane " << i << " row " << row;
        next += size_t(to.pitch) * to.rows;
        copied += size_t(to.row_bytes) * to.rows;
    }
    EXPECT_EQ(padded.bytes.size(), next);
    EXPECT_EQ(copied, packed.size());
    size_t nonzero_padding = 0;
    for (const PlaneRows& to : padded.planes)
        for (int row = 0; row < to.rows; ++row)
            for (int b = to.row_bytes; b < to.pitch; ++b)
                nonzero_padding += padded.bytes[to.offset + size_t(row) * to.pitch + b] != 0;
    EXPECT_EQ(nonzero_padding, 0u) << format;
}

TEST(TestCardTest, PaddedRowsHoldEachPackedRowAtAPitchRoundedUpTo64Plus64) {
    ExpectPaddedRows(8, 640, 480, {704, 384, 384});
    ExpectPaddedRows(8, 1920, 1080, {1984, 1024, 1024});
    ExpectPaddedRows(kFormatNv12, 1280, 720, {1344, 1344});
    ExpectPaddedRows(8, 352, 288, {448, 256, 256});
}
