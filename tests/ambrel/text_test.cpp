// Bitmap layout and the console texts that are pure formatting.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bmp.h"
#include "console_text.h"

namespace {

uint32_t U32(const uint8_t* at) {
    return at[0] | at[1] << 8 | at[2] << 16 | static_cast<uint32_t>(at[3]) << 24;
}
uint16_t U16(const uint8_t* at) {
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

TEST(AmbrelBmp, Rgb32FrameHeaders) {
    BmpLayout layout;
    ASSERT_TRUE(ComputeBmpLayout(34, 2560, 1228800, &layout));
    const auto h = BmpHeaders(layout);
    EXPECT_EQ(h[0], 'B');
    EXPECT_EQ(h[1], 'M');
    EXPECT_EQ(U32(&h[2]), 1228854u);  // file size
    EXPECT_EQ(U32(&h[6]), 0u);        // two reserved words
    EXPECT_EQ(U32(&h[10]), 54u);      // pixel offset
    EXPECT_EQ(U32(&h[14]), 40u);
    EXPECT_EQ(U32(&h[18]), 640u);
    EXPECT_EQ(U32(&h[22]), 480u);
    EXPECT_EQ(U16(&h[26]), 1);
    EXPECT_EQ(U16(&h[28]), 32);
    EXPECT_EQ(U32(&h[30]), 0u);  // uncompressed
    EXPECT_EQ(U32(&h[34]), 1228800u);
    EXPECT_EQ(U32(&h[38]), 2800u);
    EXPECT_EQ(U32(&h[42]), 2800u);
    EXPECT_EQ(U32(&h[46]), 0u);
    EXPECT_EQ(U32(&h[50]), 0u);
}

TEST(AmbrelBmp, Rgb24AndPartialRows) {
    BmpLayout layout;
    ASSERT_TRUE(ComputeBmpLayout(35, 1920, 1920 * 480, &layout));
    EXPECT_EQ(layout.width, 640);
    EXPECT_EQ(layout.bitsPerPixel, 24);
    // A payload with a partial last row keeps whole rows only; the image
    // size field still holds the payload length.
    ASSERT_TRUE(ComputeBmpLayout(34, 16, 50, &layout));
    EXPECT_EQ(layout.height, 3);
    const auto h = BmpHeaders(layout);
    EXPECT_EQ(U32(&h[2]), 54u + 48u);
    EXPECT_EQ(U32(&h[34]), 50u);
}

TEST(AmbrelBmp, NoLayoutWithoutAWholeRow) {
    BmpLayout layout;
    EXPECT_FALSE(ComputeBmpLayout(34, 0, 1228800, &layout));
    EXPECT_FALSE(ComputeBmpLayout(34, 2560, 2559, &layout));
    EXPECT_FALSE(ComputeBmpLayout(34, 2560, 0, &layout));
}

TEST(AmbrelBmp, RowsAreWrittenBottomUp) {
    // Three rows of 8 bytes, plus 2 bytes of a partial row that is dropped.
    std::vector<uint8_t> payload(26);
    for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i);
    BmpLayout layout;
    ASSERT_TRUE(ComputeBmpLayout(34, 8, 26, &layout));
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    ASSERT_TRUE(WriteBmp(file, layout, payload.data()));
    std::rewind(file);
    std::vector<uint8_t> written(100);
    written.resize(std::fread(written.data(), 1, written.size(), file));
    std::fclose(file);
    ASSERT_EQ(written.size(), 54u + 24u);
    // The last whole row starts at length - stride = 18, the first written row.
    const std::vector<uint8_t> rows(written.begin() + 54, written.end());
    const std::vector<uint8_t> expected = {18, 19, 20, 21, 22, 23, 24, 25, 10, 11, 12, 13,
                                           14, 15, 16, 17, 2,  3,  4,  5,  6,  7,  8,  9};
    EXPECT_EQ(rows, expected);
}

TEST(AmbrelBmp, BaseNameLosesOnlyTheLastComponentsExtension) {
    EXPECT_EQ(RemoveExtension("dump.rgb"), "dump");
    EXPECT_EQ(RemoveExtension("out\\shot.v1.rgb"), "out\\shot.v1");
    EXPECT_EQ(RemoveExtension("C:\\cam.d\\shot"), "C:\\cam.d\\shot");
    EXPECT_EQ(RemoveExtension("cam.d/shot"), "cam.d/shot");
    EXPECT_EQ(RemoveExtension("shot"), "shot");
}

TEST(AmbrelBmp, FileNamesCountFramesWithinASecond) {
    EXPECT_EQ(BmpFileName("shot", 1700000000, 0), "shot_1700000000.bmp");
    EXPECT_EQ(BmpFileName("shot", 1700000000, 2), "shot_1700000000_2.bmp");
    EXPECT_EQ(BmpFileName("s", -5, 0), "s_-5.bmp");
    const std::string longBase(99, 'x');
    EXPECT_EQ(BmpFileName(longBase, 1700000000, 12345), longBase + "_1700000000_12345.bmp");
}

TEST(AmbrelConsoleText, ConnectionNotices) {
    EXPECT_EQ(ChannelNoticeText(1 | 2, 0), "OnChannelNotify: CONNECTED\r\nOnChannelNotify: STREAMED\r\n");
    EXPECT_EQ(ChannelNoticeText(1 | 4 | 8 | 16, 12),
              "OnChannelNotify: CONNECTED\r\nOnChannelNotify: DECODED\r\n"
              "OnChannelNotify: DISPLAYED\r\nOnChannelNotify: QZ_CS_RECORDED)\r\n");
    EXPECT_EQ(ChannelNoticeText(0, 5), "OnChannelNotify: NOT CONNECTED: reason=5)\r\n");
    EXPECT_EQ(ChannelNoticeText(0, -3), "OnChannelNotify: NOT CONNECTED: reason=-3)\r\n");
    EXPECT_EQ(ChannelNoticeText(0, 10), "OnChannelNotify: NOT CONNECTED:Server is unreachable for connection)\r\n");
    EXPECT_EQ(ChannelNoticeText(0, 12), "OnChannelNotify: NOT CONNECTED:Password is incorrect)\r\n");
    EXPECT_EQ(ChannelNoticeText(0, 14), "OnChannelNotify: NOT CONNECTED:Login ID doesn't exist)\r\n");
    EXPECT_EQ(ChannelNoticeText(0, 15), "OnChannelNotify: NOT CONNECTED:Can't resolve the domain name)\r\n");
    EXPECT_EQ(ChannelNoticeText(0, 20), "OnChannelNotify: NOT CONNECTED:General failure)\r\n");
    EXPECT_EQ(ChannelNoticeText(0, 16), "");
    EXPECT_EQ(ChannelNoticeText(0, 21), "");
    EXPECT_EQ(ChannelNoticeText(2, 21), "OnChannelNotify: STREAMED\r\n");
}

TEST(AmbrelConsoleText, LogLine) {
    EXPECT_EQ(FormatLogLine(9, 5, 7, "NOX error(0x00000001)"), "nox 09:05:07 NOX error(0x00000001)\n");
    const std::string line = FormatLogLine(23, 59, 59, std::string(300, 'm'));
    EXPECT_EQ(line.size(), 199u);
    EXPECT_EQ(line.back(), '\n');
}

TEST(AmbrelConsoleText, SourceBaseName) {
    EXPECT_STREQ(BaseName("/work/main/ambrel/ambrel.cpp"), "ambrel.cpp");
    EXPECT_STREQ(BaseName("C:\\src\\ambrel\\ambrel.cpp"), "ambrel.cpp");
    EXPECT_STREQ(BaseName("C:\\src/mixed\\x.cpp"), "x.cpp");
    EXPECT_STREQ(BaseName("ambrel.cpp"), "ambrel.cpp");
}

}  // namespace
