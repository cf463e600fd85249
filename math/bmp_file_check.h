// Checks the bytes of a Windows bitmap file before GDI is given the file:
// GDI may crash on a truncated pixel block and quietly accept other damage.
// No window system here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace noxd {

// `head` holds the first `head_size` bytes of a file of `file_size` bytes
// (138 bytes hold every header). True when the file is a bitmap whose
// headers, colour table and pixel block all lie inside the file and whose sizes make sense: signature "BM",
// a known information header size, one plane, 1/4/8/16/24/32 bits per pixel,
// positive width, non-zero height, uncompressed or bit fields (RLE with its
// stated pixel size, stored bottom row first as the format demands), a pixel
// offset past the headers, and an image whose 32-bit form fits a signed
// 32-bit byte count. Reads nothing outside `head`.
bool IsWellFormedBmpFile(const uint8_t* head, size_t head_size, uint64_t file_size);

// What the headers of a well-formed file say about its pixels.
struct BmpShape {
    uint32_t info_header_size;
    uint32_t width;
    uint32_t height;     // rows, whichever way they are stored
    bool top_down;       // negative height in the file: top row first
    uint32_t bits;       // per pixel
    uint32_t compression;
    uint32_t headers_end;  // where the colour table ends
    uint32_t pixel_offset;
    uint32_t pixel_bytes;  // of the pixel block
};

// IsWellFormedBmpFile, and the shape of the file when it is well formed.
bool ReadBmpShape(const uint8_t* head, size_t head_size, uint64_t file_size, BmpShape& shape);

// The system's loader gets these wrong, so they are read here: top-down
// files (loaded upside down or black) and 1-bit files (a black-then-white
// table turns into a monochrome bitmap that is not converted).
bool NeedsOwnBmpReader(const BmpShape& shape);

// An uncompressed or bit-field file as a bottom-up device-independent
// bitmap: `info` the information header and colour table (masks included)
// with the height made positive, `rows` the pixel rows bottom row first.
// `file` holds at least the first `size` bytes of the file. False, leaving
// both empty, when the bytes are not a well-formed file or are compressed.
bool BottomUpDibOf(const uint8_t* file, size_t size, std::vector<uint8_t>& info,
                   std::vector<uint8_t>& rows);

// Bytes of a file that are enough for IsWellFormedBmpFile.
constexpr size_t kBmpHeadBytes = 14 + 124;

}  // namespace noxd
