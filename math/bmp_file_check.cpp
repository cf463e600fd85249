#include "bmp_file_check.h"

#include <cstring>

#include "osd_pixels.h"

namespace noxd {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

uint32_t ReadU16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t ReadU32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool IsKnownInfoHeaderSize(uint32_t size) {
    switch (size) {
    case kCoreHeaderSize: case 40: case 52: case 56: case 64: case 108: case 124: return true;
    default: return false;
    }
}

bool IsKnownBitCount(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// What the information header says, widened so no check can overflow.
struct BmpLayout {
    uint32_t header_size;
    int64_t width;
    int64_t height;  // absolute
    bool top_down;   // the file's height was negative
    uint32_t planes;
    uint32_t bits;
    uint32_t compression;
    int64_t image_size;
    int64_t colours_used;
};

BmpLayout ReadLayout(const uint8_t* info, uint32_t header_size) {
    BmpLayout l = {};
    l.header_size = header_size;
    if (header_size == kCoreHeaderSize) {
        l.width = ReadU16(info + 4);
        l.height = ReadU16(info + 6);
        l.planes = ReadU16(info + 8);
        l.bits = ReadU16(info + 10);
        return l;
    }
    l.width = static_cast<int32_t>(ReadU32(info + 4));
    const int64_t height = static_cast<int32_t>(ReadU32(info + 8));
    l.height = height < 0 ? -height : height;
    l.top_down = height < 0;
    l.planes = ReadU16(info + 12);
    l.bits = ReadU16(info + 14);
    l.compression = ReadU32(info + 16);
    l.image_size = ReadU32(info + 20);
    l.colours_used = ReadU32(info + 32);
    return l;
}

bool CompressionFits(const BmpLayout& l) {
    switch (l.compression) {
    case kRgb: return true;
    case kBitFields: return l.bits == 16 || l.bits == 32;
    // Run lengths are only defined bottom row first.
    case kRle8: return l.bits == 8 && l.image_size > 0 && !l.top_down;
    case kRle4: return l.bits == 4 && l.image_size > 0 && !l.top_down;
    default: return false;
    }
}

// Bytes between the information header and the pixels: the colour masks of
// a bit-field file with the short header, and the colour table.
int64_t TableBytes(const BmpLayout& l) {
    const int64_t entry = l.header_size == kCoreHeaderSize ? 3 : 4;
    int64_t entries = 0;
    if (l.bits <= 8) {
        const int64_t full = int64_t{1} << l.bits;
        entries = (l.colours_used > 0 && l.colours_used < full) ? l.colours_used : full;
    }
    const int64_t masks = (l.compression == kBitFields && l.header_size == 40) ? 12 : 0;
    return masks + entries * entry;
}

int64_t PixelBytes(const BmpLayout& l) {
    if (l.compression == kRle8 || l.compression == kRle4) return l.image_size;
    const int64_t stride = ((l.width * l.bits + 31) / 32) * 4;
    return stride * l.height;
}

}  // namespace

bool IsWellFormedBmpFile(const uint8_t* head, size_t head_size, uint64_t file_size) {
    BmpShape shape;
    return ReadBmpShape(head, head_size, file_size, shape);
}

bool ReadBmpShape(const uint8_t* head, size_t head_size, uint64_t file_size, BmpShape& shape) {
    if (!head || head_size > file_size || head_size < kFileHeaderSize + 4) return false;
    if (head[0] != 'B' || head[1] != 'M') return false;
    const int64_t pixel_offset = ReadU32(head + 10);
    const uint32_t header_size = ReadU32(head + kFileHeaderSize);
    if (!IsKnownInfoHeaderSize(header_size)) return false;
    if (kFileHeaderSize + header_size > head_size) return false;

    const BmpLayout l = ReadLayout(head + kFileHeaderSize, header_size);
    if (l.planes != 1 || !IsKnownBitCount(l.bits) || !CompressionFits(l)) return false;
    if (l.width <= 0 || l.height <= 0) return false;
    if (!FitsImageByteSize(l.width, l.height)) return false;

    // Files beyond this size cannot hold an image the checks above allow.
    if (file_size > static_cast<uint64_t>(INT64_MAX / 2)) return false;
    const int64_t size = static_cast<int64_t>(file_size);
    const int64_t headers_end = kFileHeaderSize + header_size + TableBytes(l);
    if (headers_end > size || pixel_offset < headers_end) return false;
    if (pixel_offset + PixelBytes(l) > size) return false;
    // Every number below is bounded by the file size or the image byte size.
    shape.info_header_size = header_size;
    shape.width = static_cast<uint32_t>(l.width);
    shape.height = static_cast<uint32_t>(l.height);
    shape.top_down = l.top_down;
    shape.bits = l.bits;
    shape.compression = l.compression;
    shape.headers_end = static_cast<uint32_t>(headers_end);
    shape.pixel_offset = static_cast<uint32_t>(pixel_offset);
    shape.pixel_bytes = static_cast<uint32_t>(PixelBytes(l));
    return true;
}

bool NeedsOwnBmpReader(const BmpShape& shape) { return shape.top_down || shape.bits == 1; }

bool BottomUpDibOf(const uint8_t* file, size_t size, std::vector<uint8_t>& info,
                   std::vector<uint8_t>& rows) {
    info.clear();
    rows.clear();
    BmpShape shape;
    const size_t head = size < kBmpHeadBytes ? size : kBmpHeadBytes;
    if (!ReadBmpShape(file, head, size, shape)) return false;
    if (shape.compression == kRle8 || shape.compression == kRle4) return false;
    info.assign(file + kFileHeaderSize, file + shape.headers_end);
    if (shape.info_header_size != kCoreHeaderSize) {
        const uint32_t height = shape.height;
        for (int i = 0; i < 4; ++i) info[8 + i] = static_cast<uint8_t>(height >> (8 * i));
    }
    const size_t stride = shape.pixel_bytes / shape.height;
    rows.resize(shape.pixel_bytes);
    const uint8_t* pixels = file + shape.pixel_offset;
    for (uint32_t y = 0; y < shape.height; ++y) {
        const uint32_t from = shape.top_down ? shape.height - 1 - y : y;
        std::memcpy(rows.data() + y * stride, pixels + from * stride, stride);
    }
    return true;
}

}  // namespace noxd
