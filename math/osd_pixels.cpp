#include "osd_pixels.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <new>

#include "power_of_two.h"

namespace noxd {

namespace {

constexpr uint32_t kOpaque = 0xFF000000u;
constexpr uint32_t kColourBits = 0x00FFFFFFu;
}  // namespace

bool FitsImageByteSize(uint64_t w, uint64_t h) {
    // Each side alone is checked first so the product cannot wrap.
    constexpr uint64_t kMaxPixels = INT32_MAX / 4;
    return w <= kMaxPixels && h <= kMaxPixels && w * h <= kMaxPixels;
}

bool PixelImage::Allocate(uint32_t w, uint32_t h) {
    Release();
    if (w == 0 || h == 0 || !FitsImageByteSize(w, h)) return false;
    pixels.reset(new (std::nothrow) uint32_t[static_cast<size_t>(w) * h]);
    if (!pixels) return false;
    width = w;
    height = h;
    static std::atomic<uint64_t> last_serial{0};
    serial = ++last_serial;
    return true;
}

void PixelImage::Release() {
    pixels.reset();
    width = 0;
    height = 0;
    serial = 0;
}

bool IsAcceptedBitmapSize(int32_t w, int32_t h, int32_t bits_per_pixel) {
    if (w <= 0 || h <= 0 || bits_per_pixel < 8) return false;
    return FitsImageByteSize(static_cast<uint64_t>(w), static_cast<uint64_t>(h));
}

void ConvertRows16(const uint8_t* rows, size_t stride, PixelImage& image) {
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint8_t* src = rows + y * stride;
        uint32_t* dst = image.pixels.get() + static_cast<size_t>(y) * image.width;
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint32_t p = src[2 * x] | (src[2 * x + 1] << 8);
            const uint32_t red = (p >> 8) & 0xF8, green = (p >> 3) & 0xFC, blue = (p << 3) & 0xFF;
            dst[x] = kOpaque | (red << 16) | (green << 8) | blue;
        }
    }
}

void ConvertRows24(const uint8_t* rows, size_t stride, PixelImage& image) {
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint8_t* src = rows + y * stride;
        uint32_t* dst = image.pixels.get() + static_cast<size_t>(y) * image.width;
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint8_t* bgr = src + 3 * x;
            dst[x] = kOpaque | (bgr[2] << 16) | (bgr[1] << 8) | bgr[0];
        }
    }
}

void ConvertRows8(const uint8_t* rows, size_t stride, const uint32_t* palette,
                  size_t palette_size, PixelImage& image) {
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint8_t* src = rows + y * stride;
        uint32_t* dst = image.pixels.get() + static_cast<size_t>(y) * image.width;
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint8_t index = src[x];
            dst[x] = kOpaque | (index < palette_size ? palette[index] & kColourBits : 0);
        }
    }
}

uint32_t KeyPixelOf(uint32_t color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

void ApplyColourKey(PixelImage& image, uint32_t key_color, uint8_t key_alpha) {
    uint32_t* const begin = image.pixels.get();
    uint32_t* const end = begin + image.pixel_count();
    const bool own_alpha = std::any_of(begin, end, [](uint32_t p) { return (p >> 24) != 0; });
    if (own_alpha) return;
    const uint32_t key = KeyPixelOf(key_color);
    const uint32_t key_alpha_bits = static_cast<uint32_t>(key_alpha) << 24;
    for (uint32_t* p = begin; p != end; ++p) *p |= (*p == key) ? key_alpha_bits : kOpaque;
}

void ApplyTextAlpha(PixelImage& image, uint32_t background, uint32_t text, uint32_t outline) {
    const uint32_t colours[3] = {background, text, outline};
    uint32_t* const begin = image.pixels.get();
    for (uint32_t* p = begin; p != begin + image.pixel_count(); ++p) {
        const uint32_t bgr = *p & kColourBits;
        uint32_t alpha = 0xFF;
        for (uint32_t colour : colours) {
            if (bgr == KeyPixelOf(colour)) {
                alpha = colour >> 24;
                break;
            }
        }
        *p = bgr | (alpha << 24);
    }
}

CanvasSize TextCanvasSize(int32_t cx, int32_t cy) {
    // In 64 bits: an extent near the top of the int range must not wrap; a
    // canvas that large is refused when it is allocated.
    const int64_t width = (int64_t{cx} + 40) / 20 * 20, height = int64_t{cy} + 4;
    return {static_cast<int32_t>(std::min<int64_t>(width, INT32_MAX)),
            static_cast<int32_t>(std::min<int64_t>(height, INT32_MAX))};
}

ImageCorners PlaceImage(const ImageCorners& c, int32_t anchor, double width, double height) {
    if (anchor == 0) return c;
    const float w = static_cast<float>((static_cast<double>(c.x1) - c.x0) / (width / 768.0));
    const float h = static_cast<float>((static_cast<double>(c.y0) - c.y1) / (height / 576.0));
    return AnchorImage(c, anchor, w, h);
}

ImageCorners AnchorImage(const ImageCorners& c, int32_t anchor, float w, float h) {
    ImageCorners placed = c;
    switch (anchor) {
    case 2:  // bottom-left kept
        placed.x1 = c.x0 + w;
        placed.y0 = c.y1 + h;
        break;
    case 3:  // top-right kept
        placed.x0 = c.x1 - w;
        placed.y1 = c.y0 - h;
        break;
    case 4:  // bottom-right kept
        placed.x0 = c.x1 - w;
        placed.y0 = c.y1 + h;
        break;
    default:  // top-left kept
        placed.x1 = c.x0 + w;
        placed.y1 = c.y0 - h;
        break;
    }
    return placed;
}

namespace {

// A side that is a power of two already stays; another gets room for a
// column past its end and one at the canvas's end.
uint32_t CanvasSide(uint32_t size) {
    if ((size & (size - 1)) == 0) return size;
    return PowerOfTwoCeil(size + 2);
}

// The image's column (or row) that canvas column `x` of `canvas` shows:
// past the image's end comes its first, the canvas's last is the image's last.
uint32_t WrappedIndex(uint32_t x, uint32_t size, uint32_t canvas) {
    if (x < size) return x;
    return x + 1 == canvas ? size - 1 : 0;
}

}  // namespace

std::vector<uint32_t> PowerOfTwoCanvas(const PixelImage& image, uint32_t& width, uint32_t& height) {
    width = CanvasSide(image.width);
    height = CanvasSide(image.height);
    std::vector<uint32_t> canvas(static_cast<size_t>(width) * height);
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t* row = &image.pixels[static_cast<size_t>(WrappedIndex(y, image.height, height)) * image.width];
        uint32_t* to = &canvas[static_cast<size_t>(y) * width];
        for (uint32_t x = 0; x < width; ++x) to[x] = row[WrappedIndex(x, image.width, width)];
    }
    return canvas;
}

}  // namespace noxd
