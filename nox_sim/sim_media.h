// The stand-in's media: its own encoded frame format, the moving test
// pattern it decodes to, its fault switches and its login rule. Plain logic,
// shared with the tests that compute the bytes ambrel should have written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "nox_values.h"

namespace noxsim {

constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;
constexpr int kFramesPerSecond = 25;

// Media type code of the stand-in's encoded frames: 'NX' (not a raw format).
constexpr uint32_t kEncodedMediaType = 0x584E;

// Encoded payload: "NXS1", u32 sequence number, u16 width, u16 height,
// u32 filler length, then the filler bytes (sequence * 7 + i) & 0xFF. The
// filler length varies with the sequence so that frames differ in size.
constexpr size_t kEncodedHeaderSize = 16;
struct EncodedFrame {
    uint32_t sequence = 0;
    int width = 0;
    int height = 0;
};
std::vector<uint8_t> EncodePayload(uint32_t sequence, int width, int height);
bool DecodePayload(const uint8_t* payload, size_t length, EncodedFrame* frame);

// Whether SetOutputFormat takes the media type: the component's YUY2,
// RGB32 and RGB24. NV12 is never asked for; NOX_SIM_NV12 switches to it.
bool IsOutputFormat(uint32_t mediaType);

// Row stride in bytes of a decoded picture without padding (NV12: its
// luma rows, of an even number of bytes, which its chroma rows share), 0 for
// an unknown media type.
uint32_t StrideOf(uint32_t mediaType, int width);
// The stride of NV12 pictures whose rows are padded to `alignment` bytes.
uint32_t PaddedNv12Stride(int width, uint32_t alignment);
// Bytes of a decoded picture: its rows, and NV12's chroma rows after them.
size_t PictureBytes(uint32_t mediaType, uint32_t stride, int height);

// Colour of the test pattern at (x, y) of frame `sequence`, y = 0 at the top:
// horizontal and vertical ramps that scroll with the frame and a checker of
// 64-pixel squares that moves right by 8 pixels a frame.
struct Rgb {
    uint8_t r, g, b;
};
Rgb PatternPixel(uint32_t sequence, int x, int y);

// The decoded picture of frame `sequence`, top row first: RGB32 as B,G,R,0;
// RGB24 as B,G,R; YUY2 as Y0,U,Y1,V with BT.601 studio range, the chroma of
// each pair taken from its left pixel; NV12 in the same range, each U,V pair
// the mean of its 2 x 2 block's pixels (of those inside an odd-sized
// picture). Rows `stride` bytes apart, StrideOf's when 0; padding bytes are
// 0. Empty for an unknown media type.
std::vector<uint8_t> RenderPicture(uint32_t sequence, int width, int height, uint32_t mediaType,
                                   uint32_t stride = 0);

// The stream's picture sizes, named in NOX_SIM_SIZES: "WxH,WxH,...", each
// side 1..4096. Empty when any entry is not such a size.
struct PictureSize {
    int width = kDefaultWidth;
    int height = kDefaultHeight;
};
std::vector<PictureSize> ParseSizes(const std::string& text);
// The size of frame `sequence`: the list's sizes in turn, `framesPerSize`
// frames each, round and round; the default size for an empty list.
PictureSize SizeOfFrame(const std::vector<PictureSize>& sizes, uint32_t framesPerSize, uint32_t sequence);
constexpr uint32_t kDefaultFramesPerSize = 50;

// The pixels' shape named in NOX_SIM_SAR: "N:D", each part
// 1..nox::kMaxSampleAspectPart; square (0:0) for any other text.
nox::SampleAspect ParseSampleAspect(const std::string& text);

// A whole decimal number from `low` to `high` (NOX_SIM_NV12's alignment,
// NOX_SIM_SIZE_FRAMES), else 0.
uint32_t ParseCount(const std::string& text, uint32_t low, uint32_t high);

// Fault switches, named in NOX_SIM_FAULT (comma-separated).
enum Fault : uint32_t {
    kFaultLiveFactory = 1u << 0,      // "live-factory": no live class factory
    kFaultDecodeFactory = 1u << 1,    // "decode-factory": no decoder class factory
    kFaultCreateLive = 1u << 2,       // "create-live": live CreateInstance fails
    kFaultCreateDecode = 1u << 3,     // "create-decode": decoder CreateInstance fails
    kFaultConnect = 1u << 4,          // "connect"
    kFaultOpen = 1u << 5,             // "open"
    kFaultSetOutputFormat = 1u << 6,  // "set-output-format"
    kFaultStartDecoding = 1u << 7,    // "start-decoding"
    kFaultAdvise = 1u << 8,           // "advise"
    kFaultStartStream = 1u << 9,      // "start-stream"
    // Stream misbehaviour, on every frame with an odd sequence number:
    kFaultBadEncSize = 1u << 10,      // "bad-enc-size": encoded size field 40
    kFaultNoByref = 1u << 11,         // "no-byref": encoded VARIANT is a plain VT_I4
    kFaultEmptyEnc = 1u << 12,        // "empty-enc": encoded payload length 0
    kFaultBadDecSize = 1u << 13,      // "bad-dec-size": decoded size field 40
    kFaultNullPayload = 1u << 14,     // "null-payload": decoded payload address 0
    kFaultZeroStride = 1u << 15,      // "zero-stride": decoded stride 0
    // Stream misbehaviour, all along:
    kFaultFlood = 1u << 16,           // "flood": frames without any pause
    kFaultLinger = 1u << 17,          // "linger": never stops once streaming
    kFaultPause = 1u << 18,           // "pause": silent for kPauseMs after every kFramesBetweenPauses frames
};
uint32_t ParseFaults(const std::string& text);

// The scripted pauses of "pause": a camera that goes silent for a while, again
// and again, so that a host that starts showing late still sees one.
constexpr uint32_t kFramesBetweenPauses = 50;
constexpr uint32_t kPauseMs = 4000;

// The login rule of the stand-in camera: 0 when the connection is accepted,
// else the refusal reason. A host ending in ".invalid" cannot be resolved
// (15); the only login is "admin" (14); its password is anything but "wrong" (12).
int32_t ConnectRefusal(const std::string& address, const std::string& login,
                       const std::string& password);

}  // namespace noxsim
