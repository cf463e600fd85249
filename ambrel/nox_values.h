// Values of the nox component's binary interface that the platform-free
// parts of ambrel need without its COM header.
#pragma once

#include <cstdint>

constexpr uint32_t kMediaYuv422 = 33;  // QZ_MTC_RAW_YUV422
constexpr uint32_t kMediaRgb32 = 34;   // QZ_MTC_RAW_RGB32
constexpr uint32_t kMediaRgb888 = 35;  // QZ_MTC_RAW_RGB888

// FrameDesc: the component's frame descriptor, little-endian. Only these
// fields are read; an encoded frame's payload follows the header directly.
// The payload address of a decoded frame is a native pointer.
constexpr uint32_t kFrameDescSize = 44;  // also the version stamp at offset 0
constexpr size_t kDescSizeOffset = 0;
constexpr size_t kDescMediaTypeOffset = 8;
constexpr size_t kDescStrideOffset = 32;
constexpr size_t kDescLengthOffset = 36;
constexpr size_t kDescPayloadPtrOffset = 40;

// Bits of the state argument of OnChannelNotify.
constexpr int32_t kStateConnected = 1;
constexpr int32_t kStateStreamed = 2;
constexpr int32_t kStateDecoded = 4;
constexpr int32_t kStateDisplayed = 8;
constexpr int32_t kStateRecorded = 16;
