// Values of the nox component's binary interface that need no COM header:
// media types, channel state bits and the frame descriptor every frame starts
// with. Shared by ambrel, the stand-in component and the camera viewer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace nox {

constexpr uint32_t kMediaYuv422 = 33;  // QZ_MTC_RAW_YUV422
constexpr uint32_t kMediaRgb32 = 34;   // QZ_MTC_RAW_RGB32
constexpr uint32_t kMediaRgb888 = 35;  // QZ_MTC_RAW_RGB888
// Not the vendor's: the stand-in component's NV12 pictures (the code spells
// "NV12"), which it sends only when NOX_SIM_NV12 asks. A Y plane of `stride`
// bytes a row, then at stride * height the (height + 1) / 2 rows of
// (width + 1) / 2 U,V pairs, `stride` bytes a row as well.
constexpr uint32_t kMediaSimNv12 = 0x3231564E;

// Not the vendor's: the stand-in component tells the shape of its pixels in
// the last, informative word of OnDecodedFrame, numerator in the high 16
// bits and denominator in the low ones; 0 (what the vendor's component
// passes) means square pixels. Each part 1..kMaxSampleAspectPart.
constexpr uint32_t kMaxSampleAspectPart = 4096;
struct SampleAspect {
    uint32_t num = 0;  // 0: square pixels
    uint32_t den = 0;
};
inline int32_t PackSampleAspect(SampleAspect sar) {
    return static_cast<int32_t>(sar.num << 16 | sar.den);
}
// Square (0:0) for a word that holds no valid ratio.
inline SampleAspect UnpackSampleAspect(int32_t word) {
    const uint32_t bits = static_cast<uint32_t>(word);
    const SampleAspect sar{bits >> 16, bits & 0xFFFF};
    const auto valid = [](uint32_t part) { return part >= 1 && part <= kMaxSampleAspectPart; };
    return valid(sar.num) && valid(sar.den) ? sar : SampleAspect{};
}

// Bits of the state argument of OnChannelNotify.
constexpr int32_t kStateConnected = 1;
constexpr int32_t kStateStreamed = 2;
constexpr int32_t kStateDecoded = 4;
constexpr int32_t kStateDisplayed = 8;
constexpr int32_t kStateRecorded = 16;

// The value of the size field, which is also the version stamp, and the
// length of an encoded frame's header: its payload follows at this offset.
constexpr uint32_t kFrameDescSize = 44;

// FrameDesc as it lies in memory, little-endian. A decoded frame's
// descriptor ends in the native address of its payload, so it takes 44 bytes
// in a 32-bit process and 48 in a 64-bit one; an encoded frame's header keeps
// 44 bytes in both, with a 32-bit zero where the address would be.
struct FrameDesc {
    uint32_t size = kFrameDescSize;
    uint32_t sequence = 0;
    uint32_t media_type = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t timestamp = 0;  // milliseconds
    uint32_t flags = 0;      // 1: key frame
    uint32_t channel = 0;
    uint32_t stride = 0;     // bytes per row of a decoded frame
    uint32_t length = 0;     // payload bytes
    const uint8_t* payload = nullptr;
};

constexpr size_t kPayloadAddressOffset = 40;
static_assert(offsetof(FrameDesc, media_type) == 8 && offsetof(FrameDesc, stride) == 32 &&
                  offsetof(FrameDesc, length) == 36 && offsetof(FrameDesc, payload) == kPayloadAddressOffset,
              "FrameDesc fields at the component's offsets");
#if defined(_WIN64) || defined(__x86_64__)
static_assert(sizeof(FrameDesc) == 48, "a 64-bit decoded FrameDesc: 40 bytes of words and an 8-byte address");
#else
static_assert(sizeof(FrameDesc) == 44, "a 32-bit FrameDesc: 40 bytes of words and a 4-byte address");
#endif

// The header of an encoded frame; its payload field points behind the header.
inline FrameDesc ReadEncodedFrameHeader(const uint8_t* bytes) {
    FrameDesc desc;
    std::memcpy(static_cast<void*>(&desc), bytes, kPayloadAddressOffset);  // the words only
    desc.payload = bytes + kFrameDescSize;
    return desc;
}

// The descriptor of a decoded frame, payload address included.
inline FrameDesc ReadDecodedFrameDesc(const uint8_t* bytes) {
    FrameDesc desc;
    std::memcpy(&desc, bytes, sizeof desc);
    return desc;
}

// Writes the kFrameDescSize bytes of an encoded frame's header (address field 0).
inline void WriteEncodedFrameHeader(const FrameDesc& desc, uint8_t* bytes) {
    std::memcpy(bytes, &desc, kPayloadAddressOffset);
    std::memset(bytes + kPayloadAddressOffset, 0, kFrameDescSize - kPayloadAddressOffset);
}

// Writes sizeof(FrameDesc) bytes: a decoded frame's descriptor with its payload address.
inline void WriteDecodedFrameDesc(const FrameDesc& desc, uint8_t* bytes) { std::memcpy(bytes, &desc, sizeof desc); }

}  // namespace nox
