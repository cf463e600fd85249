#include "bmp.h"

#include "nox_values.h"

namespace {

void PutU16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void PutU32(uint8_t* at, uint32_t value) {
    PutU16(at, value);
    PutU16(at + 2, value >> 16);
}

constexpr int32_t kPixelsPerMetre = 2800;

}  // namespace

bool ComputeBmpLayout(uint32_t mediaType, uint32_t stride, uint32_t length, BmpLayout* layout) {
    if (stride == 0 || length < stride) return false;
    layout->bitsPerPixel = mediaType == nox::kMediaRgb888 ? 24 : 32;
    layout->width = static_cast<int32_t>(stride / (layout->bitsPerPixel / 8));
    layout->height = static_cast<int32_t>(length / stride);
    layout->stride = stride;
    layout->length = length;
    return true;
}

std::array<uint8_t, kBmpHeaderSize> BmpHeaders(const BmpLayout& layout) {
    std::array<uint8_t, kBmpHeaderSize> h{};
    const uint32_t pixelBytes = static_cast<uint32_t>(layout.height) * layout.stride;
    h[0] = 'B';
    h[1] = 'M';
    PutU32(&h[2], kBmpHeaderSize + pixelBytes);
    PutU32(&h[10], kBmpHeaderSize);
    PutU32(&h[14], 40);
    PutU32(&h[18], static_cast<uint32_t>(layout.width));
    PutU32(&h[22], static_cast<uint32_t>(layout.height));
    PutU16(&h[26], 1);
    PutU16(&h[28], layout.bitsPerPixel);
    PutU32(&h[34], layout.length);
    PutU32(&h[38], kPixelsPerMetre);
    PutU32(&h[42], kPixelsPerMetre);
    return h;
}

bool WriteBmp(std::FILE* file, const BmpLayout& layout, const uint8_t* payload) {
    const auto headers = BmpHeaders(layout);
    if (std::fwrite(headers.data(), headers.size(), 1, file) != 1) return false;
    const uint8_t* row = payload + layout.length - layout.stride;
    for (int32_t y = 0; y < layout.height; ++y, row -= layout.stride) {
        if (std::fwrite(row, layout.stride, 1, file) != 1) return false;
    }
    return true;
}

std::string RemoveExtension(const std::string& path) {
    const size_t nameStart = path.find_last_of("\\/");
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos) return path;
    if (nameStart != std::string::npos && dot < nameStart) return path;
    return path.substr(0, dot);
}

std::string BmpFileName(const std::string& base, int32_t seconds, int counter) {
    std::string name = base + "_" + std::to_string(seconds);
    if (counter > 0) name += "_" + std::to_string(counter);
    return name + ".bmp";
}

std::string PartialBmpName(const std::string& final_name) { return final_name + ".part"; }
