// Overlay images in memory and the arithmetic on them: format conversion to
// 32-bit pixels, colour keying, alpha from text colours, placement of an
// image on the viewport. No window system here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace noxd {

// width x height pixels of 4 bytes each in the order blue, green, red, alpha
// (a little-endian 0xAARRGGBB word), top row first, rows without padding.
// Overlay objects are freed without running destructors, so their owner
// calls Release() from FreeResources(); an empty image owns nothing.
struct PixelImage {
    uint32_t width = 0;
    uint32_t height = 0;
    std::unique_ptr<uint32_t[]> pixels;
    // Names these pixels for as long as they live: given anew by every
    // Allocate and never given twice in a process, so a texture made from
    // an image can never be taken for another image's.
    uint64_t serial = 0;

    bool empty() const { return !pixels; }
    int32_t byte_size() const { return static_cast<int32_t>(width * height * 4); }
    size_t pixel_count() const { return static_cast<size_t>(width) * height; }
    // Allocates width x height pixels; false, leaving the image empty, when
    // a side is 0, the byte size does not fit a signed 32-bit number or
    // memory is short. The pixels are not initialised.
    bool Allocate(uint32_t width, uint32_t height);
    void Release();
};

// Whether a w x h image of 32-bit pixels has a byte size that fits a signed
// 32-bit number.
bool FitsImageByteSize(uint64_t w, uint64_t h);

// Whether a bitmap reported by GDI as w x h at `bits_per_pixel` may become an
// image: sizes positive (a negative or zero side, or fewer than 8 bits per
// pixel, is refused) and the 32-bit image not larger than a signed 32-bit
// byte count.
bool IsAcceptedBitmapSize(int32_t w, int32_t h, int32_t bits_per_pixel);

// Source rows, top row first, `stride` bytes apart (stride >= the bytes of
// one row of image.width pixels), converted into the allocated image; every
// converted pixel is opaque.
// 16 bits: 5-6-5, the low bits of each channel left 0.
void ConvertRows16(const uint8_t* rows, size_t stride, PixelImage& image);
// 24 bits: blue, green, red.
void ConvertRows24(const uint8_t* rows, size_t stride, PixelImage& image);
// 8 bits: indices into `palette` (0x00RRGGBB words, as RGBQUADs read); an
// index past the palette's end gives black.
void ConvertRows8(const uint8_t* rows, size_t stride, const uint32_t* palette,
                  size_t palette_size, PixelImage& image);

// The pixel a COLORREF-style colour (0x..BBGGRR) becomes, with alpha 0.
uint32_t KeyPixelOf(uint32_t color);

// Makes one colour transparent. An image that carries any alpha of its own
// (every converted 16-, 24- and 8-bit image, being opaque) stays as it is;
// otherwise pixels of the key colour get `key_alpha` and all others 0xFF.
void ApplyColourKey(PixelImage& image, uint32_t key_color, uint8_t key_alpha);

// Alpha of rasterised text from the three colours that may appear in it:
// each pixel takes the alpha byte (top byte) of the first of background,
// text and outline whose low three bytes it matches, and 0xFF otherwise.
void ApplyTextAlpha(PixelImage& image, uint32_t background, uint32_t text, uint32_t outline);

// The canvas that text of extent cx x cy is drawn on: 20 pixels of margin
// left of the string, rounded up to whole 20-pixel steps, and 2 above and
// below it.
struct CanvasSize {
    int32_t width;
    int32_t height;
};
CanvasSize TextCanvasSize(int32_t cx, int32_t cy);

// Corners of an image in normalized video coordinates, (x0, y0) top-left.
struct ImageCorners {
    float x0, y0, x1, y1;
};

// The rectangle an image is drawn in on a viewport of `width` x `height`
// pixels. Anchor 0 stretches the image over the corners. Every other anchor
// keeps the size the corners give on a 768 x 576 reference frame, in
// viewport pixels, and keeps one corner: 2 bottom-left, 3 top-right,
// 4 bottom-right, any other value top-left.
ImageCorners PlaceImage(const ImageCorners& corners, int32_t anchor, double width, double height);

// A w x h rectangle (in the corners' units) in the corner of `box` the
// anchor keeps.
ImageCorners AnchorImage(const ImageCorners& box, int32_t anchor, float w, float h);

// The image in the corner of a power-of-two canvas, for a GL without
// non-power-of-two textures: a side that is not a power of two grows by at
// least two, so that the texels linear filtering reads just past each edge
// (the next one, and the canvas's last before the first) hold what a
// repeating texture of the image's own size would give there: the opposite edge.
// Sets `width` and `height` to the canvas's sides.
std::vector<uint32_t> PowerOfTwoCanvas(const PixelImage& image, uint32_t& width, uint32_t& height);

}  // namespace noxd
