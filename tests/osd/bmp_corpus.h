// Bitmap files built in memory: a sound one, and damaged copies of it of the
// kinds that make GDI crash or load garbage.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace noxd_osd_test {

// A bottom-up 24-bit file of `width` x `height`; pixel(x, y) gives 0x00RRGGBB
// with y counted from the top row.
std::vector<uint8_t> Bmp24(int width, int height, uint32_t (*pixel)(int x, int y));

// An 8-bit file with a 2-colour table: index 0 black, 1 white; row y is all 1s when y is even.
std::vector<uint8_t> Bmp8(int width, int height);

// An uncompressed file of `bits` per pixel (1, 4, 8, 24 or 32) with the
// colour table `palette` (0x00RRGGBB, for 8 bits or fewer), stored top row
// first when `top_down` (negative height). value(x, y), y counted from the
// top row, is a table index or a 0x00RRGGBB colour.
std::vector<uint8_t> BmpOf(int width, int height, int bits, bool top_down,
                           const std::vector<uint32_t>& palette, uint32_t (*value)(int x, int y));

struct MalformedBmp {
    std::string name;
    std::vector<uint8_t> bytes;
};

// Each a small sound file with one fault: wrong signature, header sizes,
// planes, bit counts, compression, dimensions, oversized products, pixel
// offsets and truncated pixel blocks or colour tables.
std::vector<MalformedBmp> MalformedBmpCorpus();

}  // namespace noxd_osd_test
