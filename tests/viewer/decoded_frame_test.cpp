#include <gtest/gtest.h>

#include <cstring>

#include "decoded_frame.h"
#include "frame_mailbox.h"
#include "renderer_planes.h"
#include "sim_media.h"

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

// Every format the decoder delivers is described where it lies, top row
// first with the stride as pitch; NV12's chroma rows follow its luma rows.
// A frame is refused when it is not a whole picture: its claimed length
// must hold every row, padding included.
TEST(ViewerDecodedFrame, LaysOutWholePicturesOfAnyFormatAndSizeAndRefusesTheRest) {
    static const uint8_t pixels[256] = {};
    const uint32_t nv12 = nox::kMediaSimNv12;
    struct Case {
        const char* what;
        std::vector<uint8_t> desc;
        bool fits;
        int format;
        size_t chroma_offset;  // NV12's second plane
        size_t bytes;
    } cases[] = {
        {"RGB32", Desc(34, 4, 2, 16, 32, pixels), true, kRendererBgr32, 0, 32},
        {"YUY2, rows padded", Desc(33, 4, 2, 12, 24, pixels), true, kRendererYuy2, 0, 24},
        {"RGB24", Desc(35, 3, 2, 9, 18, pixels), true, kRendererBgr24, 0, 18},
        {"NV12 5 x 3, rows of 8", Desc(nv12, 5, 3, 8, 40, pixels), true, kRendererNv12, 24, 40},
        {"NV12 of another size", Desc(nv12, 16, 6, 16, 144, pixels), true, kRendererNv12, 96, 144},
        {"NV12 one row short", Desc(nv12, 5, 3, 8, 39, pixels), false, 0, 0, 0},
        {"NV12 rows shorter than a chroma row", Desc(nv12, 5, 3, 5, 25, pixels), false, 0, 0, 0},
        {"YUY2 odd width, rows of its pixels only", Desc(33, 3, 2, 6, 12, pixels), false, 0, 0, 0},
        {"RGB32 one byte short", Desc(34, 4, 2, 16, 31, pixels), false, 0, 0, 0},
        {"unknown media type", Desc(36, 4, 2, 16, 32, pixels), false, 0, 0, 0},
        {"other descriptor", Desc(34, 4, 2, 16, 32, pixels, 40), false, 0, 0, 0},
        {"no payload", Desc(34, 4, 2, 16, 32, nullptr), false, 0, 0, 0},
        {"no stride", Desc(34, 4, 2, 0, 32, pixels), false, 0, 0, 0},
        {"no width", Desc(34, 0, 2, 16, 32, pixels), false, 0, 0, 0},
        {"no height", Desc(nv12, 4, 0, 4, 32, pixels), false, 0, 0, 0},
        {"stride past a signed pitch", Desc(34, 1, 1, 0x80000000u, 0xFFFFFFFFu, pixels), false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const nox::FrameDesc frame = nox::ReadDecodedFrameDesc(c.desc.data());
        PlaneLayout layout;
        ASSERT_EQ(LayoutOf(frame, &layout), c.fits);
        if (!c.fits) {
            EXPECT_EQ(layout.format, 0);  // left as it was
            continue;
        }
        EXPECT_EQ(layout.format, c.format);
        EXPECT_EQ(layout.width, frame.width);
        EXPECT_EQ(layout.height, frame.height);
        EXPECT_EQ(layout.offset[0], 0u);
        EXPECT_EQ(layout.pitch[0], static_cast<int32_t>(frame.stride));
        EXPECT_EQ(layout.offset[1], c.chroma_offset);
        EXPECT_EQ(layout.pitch[1], c.format == kRendererNv12 ? static_cast<int32_t>(frame.stride) : 0);
        EXPECT_EQ(layout.pitch[2], 0);
        EXPECT_EQ(layout.bytes, c.bytes);
    }
}

// The stand-in's padded NV12 frame, through the mailbox to the renderer's
// description: the bytes as delivered, the planes pointing into the slot the
// drawing thread holds.
TEST(ViewerDecodedFrame, PlanesOfAPaddedNv12FramePointIntoTheHeldPicture) {
    const int w = 350, h = 287;
    const uint32_t stride = noxsim::PaddedNv12Stride(w, 64);
    ASSERT_EQ(stride, 384u);
    const std::vector<uint8_t> delivered = noxsim::RenderPicture(9, w, h, nox::kMediaSimNv12, stride);
    ASSERT_EQ(delivered.size(), size_t{384} * (287 + 144));
    nox::FrameDesc frame;
    frame.media_type = nox::kMediaSimNv12;
    frame.width = w;
    frame.height = h;
    frame.sequence = 9;
    frame.stride = stride;
    frame.length = static_cast<uint32_t>(delivered.size());
    frame.payload = delivered.data();

    FrameMailbox mailbox;
    PlaneLayout layout;
    ASSERT_TRUE(LayoutOf(frame, &layout));
    Picture& filled = mailbox.Fill();
    CopyPicture(frame, layout, filled.bytes);
    filled.layout = layout;
    filled.sequence = frame.sequence;
    mailbox.Publish();
    const Picture* held = mailbox.TakeNewest();
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(held->bytes, delivered);

    const NOXD_PLANES planes = PlanesOf(*held);
    EXPECT_EQ(planes.size, sizeof(NOXD_PLANES));
    EXPECT_EQ(planes.format, NOXD_FORMAT_NV12);
    EXPECT_EQ(planes.width, w);
    EXPECT_EQ(planes.height, h);
    EXPECT_EQ(planes.data[0], held->bytes.data());
    EXPECT_EQ(planes.data[1], held->bytes.data() + size_t{384} * 287);
    EXPECT_EQ(planes.data[2], nullptr);
    EXPECT_EQ(planes.pitch[0], 384);
    EXPECT_EQ(planes.pitch[1], 384);
    EXPECT_EQ(planes.pitch[2], 0);
}

}  // namespace
}  // namespace viewer
