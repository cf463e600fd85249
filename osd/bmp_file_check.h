// Checks the bytes of a Windows bitmap file before GDI is given the file:
// GDI may crash on a truncated pixel block and quietly accept other damage.
// No window system here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace noxd {

// `head` holds the first `head_size` bytes of a file of `file_size` bytes
// (138 bytes hold every header). True when the file is a bitmap whose
// headers, colour table and pixel block all lie inside the file and whose sizes make sense: signature "BM",
// a known information header size, one plane, 1/4/8/16/24/32 bits per pixel,
// positive width, non-zero height, uncompressed or bit fields (RLE with its
// stated pixel size), a pixel offset past the headers, and an image whose
// 32-bit form fits a signed 32-bit byte count. Reads nothing outside `head`.
bool IsWellFormedBmpFile(const uint8_t* head, size_t head_size, uint64_t file_size);

// Bytes of a file that are enough for IsWellFormedBmpFile.
constexpr size_t kBmpHeadBytes = 14 + 124;

}  // namespace noxd
