// Windows bitmap files for decoded frames. Plain logic on stdio only.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

constexpr size_t kBmpHeaderSize = 54;  // file header 14 + info header 40

// How a decoded payload maps onto a bitmap: whole rows of stride bytes, the
// width derived from the stride, the height from the payload length.
struct BmpLayout {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitsPerPixel = 0;
    uint32_t stride = 0;
    uint32_t length = 0;
};

// Fills *layout for a payload of the given media type; false when the payload
// holds no whole row (stride 0 or length below one stride), which has no
// bitmap layout.
bool ComputeBmpLayout(uint32_t mediaType, uint32_t stride, uint32_t length, BmpLayout* layout);

// The 14-byte file header and 40-byte info header, little-endian.
std::array<uint8_t, kBmpHeaderSize> BmpHeaders(const BmpLayout& layout);

// Writes the headers and the rows bottom-up (the payload's last row first),
// so a payload whose first row is the top of the picture gives an upright
// bitmap. False when a write fails.
bool WriteBmp(std::FILE* file, const BmpLayout& layout, const uint8_t* payload);

// The path without the extension of its last component: everything from the
// last dot after the last '\\' or '/' is removed.
std::string RemoveExtension(const std::string& path);

// Where a bitmap is written before it is renamed to `final_name`: in the same
// folder, so the rename never copies, and under a name no reader of
// "*.bmp" takes for a bitmap.
std::string PartialBmpName(const std::string& final_name);

// "<base>_<seconds>.bmp" for the first frame written in a second, and
// "<base>_<seconds>_<counter>.bmp" for later ones (counter from 1).
std::string BmpFileName(const std::string& base, int32_t seconds, int counter);
