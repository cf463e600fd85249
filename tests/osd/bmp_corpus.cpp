#include "bmp_corpus.h"

namespace noxd_osd_test {

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = v & 0xFF;
    b[at + 1] = (v >> 8) & 0xFF;
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}

std::vector<uint8_t> Headers(int width, int height, int bits, uint32_t table_bytes, size_t pixel_bytes) {
    std::vector<uint8_t> b(54 + table_bytes + pixel_bytes, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, 54 + table_bytes);
    Put32(b, 14, 40);
    Put32(b, 18, static_cast<uint32_t>(width));
    Put32(b, 22, static_cast<uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<uint32_t>(bits));
    Put32(b, 34, static_cast<uint32_t>(pixel_bytes));
    return b;
}

uint32_t Plain(int x, int y) { return (x + y) % 2 ? 0x00FF0000 : 0x000000FF; }

}  // namespace

std::vector<uint8_t> Bmp24(int width, int height, uint32_t (*pixel)(int x, int y)) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::vector<uint8_t> b = Headers(width, height, 24, 0, stride * height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = b.data() + 54 + stride * (height - 1 - y);  // bottom row first
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixel(x, y);
            row[3 * x] = p & 0xFF;
            row[3 * x + 1] = (p >> 8) & 0xFF;
            row[3 * x + 2] = (p >> 16) & 0xFF;
        }
    }
    return b;
}

std::vector<uint8_t> Bmp8(int width, int height) {
    const size_t stride = (static_cast<size_t>(width) + 3) & ~size_t{3};
    std::vector<uint8_t> b = Headers(width, height, 8, 8, stride * height);
    Put32(b, 46, 2);                // colours used
    Put32(b, 54 + 4, 0x00FFFFFF);   // entry 1 white
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) b[62 + stride * (height - 1 - y) + x] = y % 2 == 0;
    return b;
}

std::vector<uint8_t> BmpOf(int width, int height, int bits, bool top_down,
                           const std::vector<uint32_t>& palette, uint32_t (*value)(int x, int y)) {
    const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    const uint32_t table = static_cast<uint32_t>(palette.size() * 4);
    std::vector<uint8_t> b = Headers(width, top_down ? -height : height, bits, table, stride * height);
    Put32(b, 46, static_cast<uint32_t>(palette.size()));
    for (size_t i = 0; i < palette.size(); ++i) Put32(b, 54 + 4 * i, palette[i]);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = b.data() + 54 + table + stride * (top_down ? y : height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const uint32_t v = value(x, y);
            if (bits >= 24) {
                for (int i = 0; i < bits / 8; ++i) row[x * bits / 8 + i] = (v >> (8 * i)) & 0xFF;
            } else {
                const int bit = x * bits, shift = 8 - bits - bit % 8;  // leftmost pixel in the high bits
                row[bit / 8] = static_cast<uint8_t>(row[bit / 8] | (v << shift));
            }
        }
    }
    return b;
}

std::vector<MalformedBmp> MalformedBmpCorpus() {
    const std::vector<uint8_t> good = Bmp24(5, 4, Plain);
    std::vector<MalformedBmp> corpus;
    auto with = [&](const std::string& name, auto change) {
        std::vector<uint8_t> b = good;
        change(b);
        corpus.push_back({name, b});
    };
    with("empty", [](auto& b) { b.clear(); });
    with("only the file header", [](auto& b) { b.resize(14); });
    with("signature", [](auto& b) { b[1] = 'N'; });
    with("info header size 0", [](auto& b) { Put32(b, 14, 0); });
    with("info header size 39", [](auto& b) { Put32(b, 14, 39); });
    with("info header larger than the file", [](auto& b) { Put32(b, 14, 124); b.resize(100); });
    with("no planes", [](auto& b) { Put16(b, 26, 0); });
    with("bit count 0", [](auto& b) { Put16(b, 28, 0); });
    with("bit count 7", [](auto& b) { Put16(b, 28, 7); });
    with("bit count 64", [](auto& b) { Put16(b, 28, 64); });
    with("jpeg compression", [](auto& b) { Put32(b, 30, 4); });
    with("bit fields on 24 bits", [](auto& b) { Put32(b, 30, 3); });
    with("width 0", [](auto& b) { Put32(b, 18, 0); });
    with("negative width", [](auto& b) { Put32(b, 18, static_cast<uint32_t>(-5)); });
    with("height 0", [](auto& b) { Put32(b, 22, 0); });
    with("width x height overflows", [](auto& b) { Put32(b, 18, 0x10000); Put32(b, 22, 0x10000); });
    with("width x height x 4 past 2^31", [](auto& b) { Put32(b, 18, 23171); Put32(b, 22, 23171); });
    with("height -2^31", [](auto& b) { Put32(b, 22, 0x80000000u); });
    with("pixel block truncated", [](auto& b) { b.resize(b.size() - 1); });
    with("pixel block half gone", [](auto& b) { b.resize(54 + 16); });
    with("pixel offset past the end", [](auto& b) { Put32(b, 10, static_cast<uint32_t>(b.size())); });
    with("pixel offset inside the headers", [](auto& b) { Put32(b, 10, 20); });
    with("pixel offset 0xFFFFFFFF", [](auto& b) { Put32(b, 10, 0xFFFFFFFFu); });
    with("taller than its pixels", [](auto& b) { Put32(b, 22, 40); });
    with("colour table missing", [](auto& b) { Put16(b, 28, 8); });
    with("rle8 without a pixel size", [](auto& b) { Put16(b, 28, 8); Put32(b, 30, 1); Put32(b, 34, 0); });
    with("rle8 larger than the file", [](auto& b) {
        Put16(b, 28, 8);
        Put32(b, 30, 1);
        Put32(b, 46, 1);
        Put32(b, 10, 58);
        Put32(b, 34, 4096);
    });
    with("rle8 stored top-down", [](auto& b) {
        Put16(b, 28, 8);
        Put32(b, 30, 1);
        Put32(b, 46, 1);
        Put32(b, 10, 58);
        Put32(b, 34, 4);
        Put32(b, 22, static_cast<uint32_t>(-4));
    });
    with("rle4 stored top-down", [](auto& b) {
        Put16(b, 28, 4);
        Put32(b, 30, 2);
        Put32(b, 46, 1);
        Put32(b, 10, 58);
        Put32(b, 34, 4);
        Put32(b, 22, static_cast<uint32_t>(-4));
    });
    return corpus;
}

}  // namespace noxd_osd_test
