// Pictures as the bytes of image files: 24-bit BMP and 8-bit RGB PNG. Free
// of Windows and GL.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace noxd {

// width x height pixels, top row first, each a 0x00RRGGBB word (blue in the
// lowest byte), as a 32-bit top-down DIB holds them.
struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;
};

// A BITMAPFILEHEADER, a BITMAPINFOHEADER and the rows bottom first, each
// padded to 4 bytes.
std::vector<uint8_t> EncodeBmp(const Picture& picture);

// A PNG file of 8-bit RGB, compressed; empty when the picture cannot be
// encoded or memory ran out.
std::vector<uint8_t> EncodePng(const Picture& picture);

// Whether a path names a PNG file: it ends in ".png", in any case.
bool NamesPngFile(const std::wstring& path);

}  // namespace noxd
