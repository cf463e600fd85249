#include "image_files.h"

// stb's writer, compiled into this file alone and private to it (static):
// a program that links this layer beside a copy of its own (the examples
// have one) still links. Without stdio: the caller writes the file.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include <cwctype>
#include <limits>
#include <new>
#include <utility>

namespace noxd {

namespace {

// Paeth on every row: on camera pictures it compresses as well as stb's
// row by row trial of all five filters, in three quarters of the time, and a
// snapshot is encoded on the thread that draws the view. 8 is stb's own
// level (the matches kept per hash); 12 saves another 2 % for 15 % more time.
constexpr int kPngCompressionLevel = 8;
constexpr int kPngFilterPaeth = 4;

// Set while the module loads, before any thread can encode: stb only reads
// them, so views on several threads encode their snapshots side by side.
[[maybe_unused]] const bool png_settings_set = [] {
    stbi_write_png_compression_level = kPngCompressionLevel;
    stbi_write_force_png_filter = kPngFilterPaeth;
    return true;
}();

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
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.pixels.size() != static_cast<size_t>(picture.width) * picture.height)
        return {};
    // stb counts the filtered rows' bytes in an int.
    const int64_t filtered_bytes = (static_cast<int64_t>(picture.width) * 3 + 1) * picture.height;
    if (filtered_bytes > std::numeric_limits<int>::max()) return {};
    std::vector<uint8_t> rgb;
    rgb.reserve(picture.pixels.size() * 3);
    for (uint32_t p : picture.pixels) {
        rgb.push_back(static_cast<uint8_t>(p >> 16));
        rgb.push_back(static_cast<uint8_t>(p >> 8));
        rgb.push_back(static_cast<uint8_t>(p));
    }
    struct Sink {
        std::vector<uint8_t> bytes;
        bool failed = false;
    } sink;
    auto append = [](void* context, void* data, int size) {
        Sink& to = *static_cast<Sink*>(context);
        const auto* first = static_cast<const uint8_t*>(data);
        // Unwinding through stb would leak the buffers it holds.
        try {
            to.bytes.insert(to.bytes.end(), first, first + size);
        } catch (const std::bad_alloc&) {
            to.failed = true;
        }
    };
    if (!stbi_write_png_to_func(append, &sink, picture.width, picture.height, 3, rgb.data(),
                                picture.width * 3) ||
        sink.failed)
        return {};
    return std::move(sink.bytes);
}

bool NamesPngFile(const std::wstring& path) {
    const wchar_t suffix[] = L".png";
    if (path.size() < 4) return false;
    for (size_t i = 0; i < 4; ++i)
        if (std::towlower(path[path.size() - 4 + i]) != suffix[i]) return false;
    return true;
}

}  // namespace noxd
