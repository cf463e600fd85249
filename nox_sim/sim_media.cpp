#include "sim_media.h"

#include <cstring>

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

uint32_t StrideOf(uint32_t mediaType, int width) {
    switch (mediaType) {
    case 33: return static_cast<uint32_t>(width) * 2;
    case 34: return static_cast<uint32_t>(width) * 4;
    case 35: return static_cast<uint32_t>(width) * 3;
    default: return 0;
    }
}

Rgb PatternPixel(uint32_t sequence, int x, int y) {
    const uint32_t checker = ((x + 8 * sequence) / 64 + static_cast<uint32_t>(y) / 64) & 1;
    return {static_cast<uint8_t>(x + 4 * sequence), static_cast<uint8_t>(y + 2 * sequence),
            static_cast<uint8_t>(checker ? 200 : 40)};
}

std::vector<uint8_t> RenderPicture(uint32_t sequence, int width, int height, uint32_t mediaType) {
    const uint32_t stride = StrideOf(mediaType, width);
    std::vector<uint8_t> picture(static_cast<size_t>(stride) * height);
    for (int y = 0; y < height; ++y) {
        uint8_t* out = picture.data() + static_cast<size_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            const Rgb c = PatternPixel(sequence, x, y);
            if (mediaType == 33) {
                *out++ = LumaOf(c);
                *out++ = (x % 2 == 0) ? BlueDifferenceOf(c) : RedDifferenceOf(PatternPixel(sequence, x - 1, y));
                continue;
            }
            *out++ = c.b;
            *out++ = c.g;
            *out++ = c.r;
            if (mediaType == 34) *out++ = 0;
        }
    }
    return picture;
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
