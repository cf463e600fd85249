#include "image_files.h"

#include <algorithm>
#include <cwctype>

namespace noxd {

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PutBe32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// The CRC-32 of PNG chunks (polynomial 0xEDB88320, reflected).
uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

// The Adler-32 that closes a zlib stream.
uint32_t Adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

// A zlib stream of stored (uncompressed) deflate blocks: a snapshot is written
// rarely, and this keeps the library free of a compression dependency.
std::vector<uint8_t> StoredZlibStream(const std::vector<uint8_t>& data) {
    constexpr size_t kMaxStoredBlock = 65535;
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t length = std::min(kMaxStoredBlock, data.size() - at);
        const bool last = at + length == data.size();
        out.push_back(last ? 1 : 0);
        PutLe(out, static_cast<uint32_t>(length), 2);
        PutLe(out, static_cast<uint32_t>(~length & 0xFFFF), 2);
        out.insert(out.end(), data.begin() + at, data.begin() + at + length);
        at += length;
    } while (at < data.size());
    PutBe32(out, Adler32(data));
    return out;
}

void PutPngChunk(std::vector<uint8_t>& out, const char (&type)[5], const std::vector<uint8_t>& body) {
    PutBe32(out, static_cast<uint32_t>(body.size()));
    const size_t type_at = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    PutBe32(out, Crc32(&out[type_at], out.size() - type_at));
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const Picture& picture) {
    const uint32_t stride = (static_cast<uint32_t>(picture.width) * 3 + 3) & ~3u;
    const uint32_t pixel_bytes = stride * static_cast<uint32_t>(picture.height);
    const uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes;
    std::vector<uint8_t> out;
    out.reserve(offset + pixel_bytes);
    out.push_back('B');
    out.push_back('M');
    PutLe(out, offset + pixel_bytes, 4);
    PutLe(out, 0, 4);  // reserved
    PutLe(out, offset, 4);
    PutLe(out, kInfoHeaderBytes, 4);
    PutLe(out, static_cast<uint32_t>(picture.width), 4);
    PutLe(out, static_cast<uint32_t>(picture.height), 4);  // positive: bottom row first
    PutLe(out, 1, 2);                                      // planes
    PutLe(out, 24, 2);                                     // bits per pixel
    PutLe(out, 0, 4);                                      // BI_RGB
    PutLe(out, pixel_bytes, 4);
    PutLe(out, 2835, 4);  // 72 dots per inch, in dots per metre
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int32_t row = picture.height - 1; row >= 0; --row) {
        const uint32_t* p = &picture.pixels[static_cast<size_t>(row) * picture.width];
        for (int32_t x = 0; x < picture.width; ++x) PutLe(out, p[x], 3);
        for (uint32_t pad = static_cast<uint32_t>(picture.width) * 3; pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

std::vector<uint8_t> EncodePng(const Picture& picture) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height)
        return {};
    // Each row: filter type 0 (none), then R, G, B per pixel.
    std::vector<uint8_t> rows;
    rows.reserve(picture.pixels.size() * 3 + picture.height);
    for (int32_t y = 0; y < picture.height; ++y) {
        rows.push_back(0);
        const uint32_t* p = &picture.pixels[static_cast<size_t>(y) * picture.width];
        for (int32_t x = 0; x < picture.width; ++x) {
            rows.push_back(static_cast<uint8_t>(p[x] >> 16));
            rows.push_back(static_cast<uint8_t>(p[x] >> 8));
            rows.push_back(static_cast<uint8_t>(p[x]));
        }
    }
    std::vector<uint8_t> header;
    PutBe32(header, static_cast<uint32_t>(picture.width));
    PutBe32(header, static_cast<uint32_t>(picture.height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter set, no interlace
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutPngChunk(out, "IHDR", header);
    PutPngChunk(out, "IDAT", StoredZlibStream(rows));
    PutPngChunk(out, "IEND", {});
    return out;
}

bool NamesPngFile(const std::wstring& path) {
    const wchar_t suffix[] = L".png";
    if (path.size() < 4) return false;
    for (size_t i = 0; i < 4; ++i)
        if (std::towlower(path[path.size() - 4 + i]) != suffix[i]) return false;
    return true;
}

}  // namespace noxd
