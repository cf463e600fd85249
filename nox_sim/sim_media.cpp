#include "sim_media.h"

#include <algorithm>
#include <cstring>
#include <sstream>

namespace noxsim {

namespace {

constexpr uint8_t kMagic[4] = {'N', 'X', 'S', '1'};

void PutLE(uint8_t* at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t GetLE(const uint8_t* at, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | at[i];
    return value;
}

uint32_t FillerLength(uint32_t sequence) {
    return 32 + (sequence % 5) * 16;
}

// BT.601 studio range; the offsets keep every intermediate non-negative.
uint8_t LumaOf(Rgb c) {
    return static_cast<uint8_t>(((66 * c.r + 129 * c.g + 25 * c.b + 128) >> 8) + 16);
}
uint8_t BlueDifferenceOf(Rgb c) {
    return static_cast<uint8_t>((112 * c.b - 38 * c.r - 74 * c.g + 128 + (128 << 8)) >> 8);
}
uint8_t RedDifferenceOf(Rgb c) {
    return static_cast<uint8_t>((112 * c.r - 94 * c.g - 18 * c.b + 128 + (128 << 8)) >> 8);
}

// The pattern in the packed formats: YUY2, RGB32, RGB24.
void RenderPacked(uint32_t sequence, int width, int height, uint32_t mediaType, uint32_t stride, uint8_t* picture) {
    for (int y = 0; y < height; ++y) {
        uint8_t* out = picture + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            const Rgb c = PatternPixel(sequence, x, y);
            if (mediaType == nox::kMediaYuv422) {
                *out++ = LumaOf(c);
                *out++ = (x % 2 == 0) ? BlueDifferenceOf(c) : RedDifferenceOf(PatternPixel(sequence, x - 1, y));
                continue;
            }
            *out++ = c.b;
            *out++ = c.g;
            *out++ = c.r;
            if (mediaType == nox::kMediaRgb32) *out++ = 0;
        }
    }
}

// One U,V pair of NV12: the rounded means over the block's pixels inside the picture.
void PutChromaOfBlock(uint32_t sequence, int width, int height, int bx, int by, uint8_t* pair) {
    int u = 0, v = 0, count = 0;
    for (int y = 2 * by; y < std::min(2 * by + 2, height); ++y) {
        for (int x = 2 * bx; x < std::min(2 * bx + 2, width); ++x) {
            const Rgb c = PatternPixel(sequence, x, y);
            u += BlueDifferenceOf(c);
            v += RedDifferenceOf(c);
            ++count;
        }
    }
    pair[0] = static_cast<uint8_t>((u + count / 2) / count);
    pair[1] = static_cast<uint8_t>((v + count / 2) / count);
}

void RenderNv12(uint32_t sequence, int width, int height, uint32_t stride, uint8_t* picture) {
    for (int y = 0; y < height; ++y) {
        uint8_t* row = picture + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x) row[x] = LumaOf(PatternPixel(sequence, x, y));
    }
    uint8_t* chroma = picture + static_cast<size_t>(height) * stride;
    for (int by = 0; by < (height + 1) / 2; ++by) {
        for (int bx = 0; bx < (width + 1) / 2; ++bx) {
            PutChromaOfBlock(sequence, width, height, bx, by, chroma + static_cast<size_t>(by) * stride + 2 * bx);
        }
    }
}

// The largest side of a picture NOX_SIM_SIZES takes.
constexpr uint32_t kMaxSide = 4096;

const struct {
    const char* name;
    Fault fault;
} kFaultNames[] = {
    {"live-factory", kFaultLiveFactory}, {"decode-factory", kFaultDecodeFactory},
    {"create-live", kFaultCreateLive},   {"create-decode", kFaultCreateDecode},
    {"connect", kFaultConnect},          {"open", kFaultOpen},
    {"set-output-format", kFaultSetOutputFormat}, {"start-decoding", kFaultStartDecoding},
    {"advise", kFaultAdvise},            {"start-stream", kFaultStartStream},
    {"bad-enc-size", kFaultBadEncSize},  {"no-byref", kFaultNoByref},
    {"empty-enc", kFaultEmptyEnc},       {"bad-dec-size", kFaultBadDecSize},
    {"null-payload", kFaultNullPayload}, {"zero-stride", kFaultZeroStride},
    {"flood", kFaultFlood},              {"linger", kFaultLinger},
    {"pause", kFaultPause},
};

}  // namespace

std::vector<uint8_t> EncodePayload(uint32_t sequence, int width, int height) {
    const uint32_t filler = FillerLength(sequence);
    std::vector<uint8_t> payload(kEncodedHeaderSize + filler);
    std::memcpy(payload.data(), kMagic, sizeof kMagic);
    PutLE(&payload[4], sequence, 4);
    PutLE(&payload[8], static_cast<uint32_t>(width), 2);
    PutLE(&payload[10], static_cast<uint32_t>(height), 2);
    PutLE(&payload[12], filler, 4);
    for (uint32_t i = 0; i < filler; ++i) {
        payload[kEncodedHeaderSize + i] = static_cast<uint8_t>(sequence * 7 + i);
    }
    return payload;
}

bool DecodePayload(const uint8_t* payload, size_t length, EncodedFrame* frame) {
    if (!payload || length < kEncodedHeaderSize || std::memcmp(payload, kMagic, sizeof kMagic) != 0) {
        return false;
    }
    if (length != kEncodedHeaderSize + GetLE(&payload[12], 4)) return false;
    frame->sequence = GetLE(&payload[4], 4);
    frame->width = static_cast<int>(GetLE(&payload[8], 2));
    frame->height = static_cast<int>(GetLE(&payload[10], 2));
    return frame->width > 0 && frame->height > 0;
}

bool IsOutputFormat(uint32_t mediaType) {
    return mediaType == nox::kMediaYuv422 || mediaType == nox::kMediaRgb32 || mediaType == nox::kMediaRgb888;
}

uint32_t StrideOf(uint32_t mediaType, int width) {
    const uint32_t w = static_cast<uint32_t>(width);
    switch (mediaType) {
    case nox::kMediaYuv422: return w * 2;
    case nox::kMediaRgb32: return w * 4;
    case nox::kMediaRgb888: return w * 3;
    case nox::kMediaSimNv12: return (w + 1) & ~1u;
    default: return 0;
    }
}

uint32_t PaddedNv12Stride(int width, uint32_t alignment) {
    const uint32_t row = StrideOf(nox::kMediaSimNv12, width);
    return (row + alignment - 1) / alignment * alignment;
}

size_t PictureBytes(uint32_t mediaType, uint32_t stride, int height) {
    const size_t rows = static_cast<size_t>(height) + (mediaType == nox::kMediaSimNv12 ? (height + 1) / 2 : 0);
    return rows * stride;
}

Rgb PatternPixel(uint32_t sequence, int x, int y) {
    const uint32_t checker = ((x + 8 * sequence) / 64 + static_cast<uint32_t>(y) / 64) & 1;
    return {static_cast<uint8_t>(x + 4 * sequence), static_cast<uint8_t>(y + 2 * sequence),
            static_cast<uint8_t>(checker ? 200 : 40)};
}

std::vector<uint8_t> RenderPicture(uint32_t sequence, int width, int height, uint32_t mediaType,
                                   uint32_t stride) {
    if (StrideOf(mediaType, width) == 0) return {};
    if (stride == 0) stride = StrideOf(mediaType, width);
    std::vector<uint8_t> picture(PictureBytes(mediaType, stride, height));
    if (mediaType == nox::kMediaSimNv12) RenderNv12(sequence, width, height, stride, picture.data());
    else RenderPacked(sequence, width, height, mediaType, stride, picture.data());
    return picture;
}

std::vector<PictureSize> ParseSizes(const std::string& text) {
    std::vector<PictureSize> sizes;
    if (!text.empty() && text.back() == ',') return sizes;
    std::istringstream entries(text);
    std::string entry;
    while (std::getline(entries, entry, ',')) {
        const size_t by = entry.find('x');
        if (by == std::string::npos) return {};
        PictureSize size;
        size.width = static_cast<int>(ParseCount(entry.substr(0, by), 1, kMaxSide));
        size.height = static_cast<int>(ParseCount(entry.substr(by + 1), 1, kMaxSide));
        if (size.width == 0 || size.height == 0) return {};
        sizes.push_back(size);
    }
    return sizes;
}

PictureSize SizeOfFrame(const std::vector<PictureSize>& sizes, uint32_t framesPerSize, uint32_t sequence) {
    if (sizes.empty() || framesPerSize == 0) return {};
    return sizes[sequence / framesPerSize % sizes.size()];
}

nox::SampleAspect ParseSampleAspect(const std::string& text) {
    const size_t by = text.find(':');
    if (by == std::string::npos) return {};
    const nox::SampleAspect sar{ParseCount(text.substr(0, by), 1, nox::kMaxSampleAspectPart),
                                ParseCount(text.substr(by + 1), 1, nox::kMaxSampleAspectPart)};
    return sar.num && sar.den ? sar : nox::SampleAspect{};
}

uint32_t ParseCount(const std::string& text, uint32_t low, uint32_t high) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
    const uint32_t value = static_cast<uint32_t>(std::stoul(text));
    return value >= low && value <= high ? value : 0;
}

uint32_t ParseFaults(const std::string& text) {
    uint32_t faults = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const std::string name = text.substr(start, end - start);
        for (const auto& entry : kFaultNames) {
            if (name == entry.name) faults |= entry.fault;
        }
        start = end + 1;
    }
    return faults;
}

int32_t ConnectRefusal(const std::string& address, const std::string& login,
                       const std::string& password) {
    const std::string host = address.substr(0, address.find(':'));
    const std::string unresolvable = ".invalid";
    if (host.size() >= unresolvable.size() &&
        host.compare(host.size() - unresolvable.size(), unresolvable.size(), unresolvable) == 0) {
        return 15;
    }
    if (login != "admin") return 14;
    if (password == "wrong") return 12;
    return 0;
}

}  // namespace noxsim
