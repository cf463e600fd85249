#include "image_files.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include <cwctype>

namespace noxd {

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;

void PutLe(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
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
    std::vector<uint8_t> rgb;
    rgb.reserve(picture.pixels.size() * 3);
    for (uint32_t p : picture.pixels) {
        rgb.push_back(static_cast<uint8_t>(p >> 16));
        rgb.push_back(static_cast<uint8_t>(p >> 8));
        rgb.push_back(static_cast<uint8_t>(p));
    }
    std::vector<uint8_t> out;
    auto append = [](void* context, void* data, int size) {
        auto* bytes = static_cast<uint8_t*>(data);
        static_cast<std::vector<uint8_t>*>(context)->insert(
            static_cast<std::vector<uint8_t>*>(context)->end(), bytes, bytes + size);
    };
    if (!stbi_write_png_to_func(append, &out, picture.width, picture.height, 3, rgb.data(),
                                picture.width * 3))
        out.clear();
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
