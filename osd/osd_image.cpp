#include "osd_image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bmp_file_check.h"
#include "osd_gl_state.h"
#include "osd_list.h"

namespace noxd {

namespace {

// An 8-bit bitmap with its colour table, read through a DIB of the same
// depth so GDI hands over the table the indices refer to.
HRESULT Read8BitPixels(HBITMAP bitmap, PixelImage& image) {
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = static_cast<LONG>(image.width);
    info.header.biHeight = -static_cast<LONG>(image.height);  // top row first
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    const size_t stride = (image.width + 3u) & ~size_t{3};
    std::vector<uint8_t> rows;
    try {
        rows.resize(stride * image.height);
    } catch (const std::bad_alloc&) {
        return E_FAIL;
    }
    ScreenDc screen;
    const int read = GetDIBits(screen.get(), bitmap, 0, image.height, rows.data(),
                               reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    if (read != static_cast<int>(image.height)) return E_FAIL;
    uint32_t palette[256];
    static_assert(sizeof palette == sizeof info.colours, "RGBQUAD is one 0x00RRGGBB word");
    std::memcpy(palette, info.colours, sizeof palette);
    ConvertRows8(rows.data(), stride, palette, 256, image);
    return S_OK;
}

// A 16- or 24-bit bitmap, whose rows GDI pads to an even number of bytes.
HRESULT ReadPackedPixels(HBITMAP bitmap, const BITMAP& info, PixelImage& image) {
    const size_t stride = static_cast<size_t>(info.bmWidthBytes);
    if (stride < image.width * static_cast<size_t>(info.bmBitsPixel / 8)) return E_FAIL;
    std::vector<uint8_t> rows;
    try {
        rows.resize(stride * image.height);
    } catch (const std::bad_alloc&) {
        return E_FAIL;
    }
    if (GetBitmapBits(bitmap, static_cast<LONG>(rows.size()), rows.data()) <= 0) return E_FAIL;
    if (info.bmBitsPixel == 16)
        ConvertRows16(rows.data(), stride, image);
    else
        ConvertRows24(rows.data(), stride, image);
    return S_OK;
}

HRESULT ReadAnyPixels(HBITMAP bitmap, const BITMAP& info, PixelImage& image) {
    switch (info.bmBitsPixel) {
    case 32:
        return GetBitmapBits(bitmap, image.byte_size(), image.pixels.get()) == image.byte_size()
                   ? S_OK
                   : E_FAIL;
    case 24:
    case 16: return ReadPackedPixels(bitmap, info, image);
    case 8: return Read8BitPixels(bitmap, image);
    default: return E_INVALIDARG;
    }
}

// Empty when the file cannot be opened.
UniqueKernelHandle OpenForReading(const wchar_t* path) {
    const HANDLE raw = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    return UniqueKernelHandle(raw == INVALID_HANDLE_VALUE ? nullptr : raw);
}

bool ReadExactly(HANDLE file, std::vector<uint8_t>& bytes) {
    DWORD read = 0;
    return ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
           read == bytes.size();
}

// The first bytes of a file and its size; false when it cannot be read.
bool ReadFileHead(const wchar_t* path, std::vector<uint8_t>& head, uint64_t& file_size) {
    const UniqueKernelHandle file = OpenForReading(path);
    if (!file) return false;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
    file_size = static_cast<uint64_t>(size.QuadPart);
    head.resize(file_size < kBmpHeadBytes ? static_cast<size_t>(file_size) : kBmpHeadBytes);
    return ReadExactly(file.get(), head);
}

// The first `size` bytes of a file; false when they cannot be read.
bool ReadFilePrefix(const wchar_t* path, size_t size, std::vector<uint8_t>& bytes) {
    const UniqueKernelHandle file = OpenForReading(path);
    if (!file) return false;
    bytes.resize(size);
    return ReadExactly(file.get(), bytes);
}

// A bottom-up DIB's rows into the image, top row first; pixels converted
// from fewer than 32 bits are made opaque, as the loader's 8- to 24-bit
// bitmaps are.
void CopyDibRows(const uint32_t* bottom_up, bool opaque, PixelImage& image) {
    const uint32_t alpha = opaque ? 0xFF000000u : 0;
    for (uint32_t y = 0; y < image.height; ++y) {
        const uint32_t* src = bottom_up + static_cast<size_t>(image.height - 1 - y) * image.width;
        uint32_t* dst = image.pixels.get() + static_cast<size_t>(y) * image.width;
        for (uint32_t x = 0; x < image.width; ++x) dst[x] = src[x] | alpha;
    }
}

// A file the system's loader gets wrong (NeedsOwnBmpReader): its checked
// rows put bottom row first, then converted by GDI through the file's own
// headers and colour table into a bottom-up 32-bit DIB.
HRESULT ReadOwnBmpFile(const wchar_t* path, const BmpShape& shape, PixelImage& image) {
    std::vector<uint8_t> file, info, rows;
    try {
        if (!ReadFilePrefix(path, size_t{shape.pixel_offset} + shape.pixel_bytes, file))
            return E_INVALIDARG;
        if (!BottomUpDibOf(file.data(), file.size(), info, rows)) return E_INVALIDARG;
    } catch (const std::bad_alloc&) {
        return E_FAIL;
    }
    BITMAPINFO target = {};
    target.bmiHeader.biSize = sizeof target.bmiHeader;
    target.bmiHeader.biWidth = static_cast<LONG>(shape.width);
    target.bmiHeader.biHeight = static_cast<LONG>(shape.height);
    target.bmiHeader.biPlanes = 1;
    target.bmiHeader.biBitCount = 32;
    target.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const UniqueGdiObject dib(
        CreateDIBSection(nullptr, &target, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return E_FAIL;
    ScreenDc screen;
    const int converted =
        SetDIBits(screen.get(), static_cast<HBITMAP>(dib.get()), 0, shape.height, rows.data(),
                  reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
    if (converted != static_cast<int>(shape.height)) return E_INVALIDARG;
    GdiFlush();
    if (!image.Allocate(shape.width, shape.height)) return E_FAIL;
    CopyDibRows(static_cast<const uint32_t*>(bits), shape.bits < 32, image);
    return S_OK;
}

}  // namespace

HRESULT DrawOsdImage(noxd::OverlayRenderer& renderer, const PixelImage& image,
                     const ImageCorners& corners, int32_t anchor) {
    return DrawOsdImageFrom(renderer.osd.image_textures(), renderer, image, corners, anchor,
                            renderer.osd.picture_space());
}

namespace {

// The bounding box of the turned corners, top row at the top.
ImageCorners ShownCorners(const ImageCorners& placed, Orientation orientation) {
    float left = 1e30f, right = -1e30f, bottom = 1e30f, top = -1e30f;
    for (const PointF corner : {PointF{placed.x0, placed.y0}, PointF{placed.x1, placed.y0},
                                PointF{placed.x0, placed.y1}, PointF{placed.x1, placed.y1}}) {
        const PointF shown = ShownFromUpright(orientation, corner);
        left = std::min(left, shown.x), right = std::max(right, shown.x);
        bottom = std::min(bottom, shown.y), top = std::max(top, shown.y);
    }
    return {left, top, right, bottom};
}

// Where the image lies on the screen, in the picture rectangle's shown
// coordinates: on an upright picture as placed; on a turned one on the box
// of its turned corners, filling it, or at its fixed size in pixels in the
// box's corner its anchor keeps.
ImageCorners ShownPlacement(const ImageCorners& corners, int32_t anchor, const OverlaySpace& space) {
    const ImageCorners placed = PlaceImage(corners, anchor, space.width, space.height);
    if (space.orientation == Orientation{}) return placed;
    const ImageCorners box = ShownCorners(corners, space.orientation);
    if (anchor == 0) return box;
    const bool turned = space.orientation.quarter_turns % 2 != 0;
    const double shown_w = turned ? space.height : space.width, shown_h = turned ? space.width : space.height;
    const double pixels_w = (static_cast<double>(placed.x1) - placed.x0) * space.width;
    const double pixels_h = (static_cast<double>(placed.y0) - placed.y1) * space.height;
    return AnchorImage(box, anchor, static_cast<float>(pixels_w / shown_w), static_cast<float>(pixels_h / shown_h));
}

}  // namespace

HRESULT DrawOsdImageFrom(OsdImageTextures& textures, noxd::OverlayRenderer& renderer,
                         const PixelImage& image, const ImageCorners& corners, int32_t anchor,
                         const OverlaySpace& space) {
    if (image.empty()) return E_INVALIDARG;
    const double W = space.width, H = space.height;
    if (anchor != 0 && (W <= 0 || H <= 0)) return E_INVALIDARG;
    const ImageCorners placed = ShownPlacement(corners, anchor, space);
    const float X0 = DeviceCoordinate(placed.x0), X1 = DeviceCoordinate(placed.x1);
    const float Y0 = DeviceCoordinate(placed.y0), Y1 = DeviceCoordinate(placed.y1);
    // On the picture rectangle, the pass's turn set aside.
    const OsdPictureProjection upright(space.rect, Orientation{});

    // Transparency comes from blending by the image's alpha; the alpha test
    // keeps its default function and so passes every fragment.
    OsdEnabled blend(GL_BLEND);
    OsdEnabled texturing(GL_TEXTURE_2D);
    OsdEnabled alpha_test(GL_ALPHA_TEST);

    const OsdImageTextures::FarCorner corner = textures.Bind(image, renderer.gl_context.get());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);

    // Texture row 0, the image's top row, runs along y0.
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(X0, Y0, 0);
    glTexCoord2f(corner.s, 0);
    glVertex3f(X1, Y0, 0);
    glTexCoord2f(corner.s, corner.t);
    glVertex3f(X1, Y1, 0);
    glTexCoord2f(0, corner.t);
    glVertex3f(X0, Y1, 0);
    glEnd();
    return S_OK;
}

HRESULT ReadBitmapPixels(HBITMAP bitmap, PixelImage& image) {
    image.Release();
    if (!bitmap) return E_INVALIDARG;
    BITMAP info = {};
    if (!GetObjectW(bitmap, sizeof info, &info)) return E_INVALIDARG;
    if (!IsAcceptedBitmapSize(info.bmWidth, info.bmHeight, info.bmBitsPixel)) return E_INVALIDARG;
    if (!image.Allocate(static_cast<uint32_t>(info.bmWidth), static_cast<uint32_t>(info.bmHeight)))
        return E_FAIL;
    const HRESULT read = ReadAnyPixels(bitmap, info, image);
    if (read != S_OK) image.Release();
    return read;
}

HRESULT LoadOsdPixels(HBITMAP bitmap, uint32_t key_color, uint8_t key_alpha, PixelImage& image) {
    const HRESULT read = ReadBitmapPixels(bitmap, image);
    if (read == S_OK) ApplyColourKey(image, key_color, key_alpha);
    return read;
}

HRESULT LoadOsdFilePixels(const wchar_t* path, uint32_t key_color, uint8_t key_alpha,
                          PixelImage& image) {
    image.Release();
    if (!path) return E_INVALIDARG;
    std::vector<uint8_t> head;
    uint64_t file_size = 0;
    BmpShape shape;
    if (!ReadFileHead(path, head, file_size) ||
        !ReadBmpShape(head.data(), head.size(), file_size, shape))
        return E_INVALIDARG;
    if (NeedsOwnBmpReader(shape)) {
        const HRESULT read = ReadOwnBmpFile(path, shape, image);
        if (read == S_OK) ApplyColourKey(image, key_color, key_alpha);
        return read;
    }
    const UniqueGdiObject bitmap(
        LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
    if (!bitmap) return E_INVALIDARG;
    return LoadOsdPixels(static_cast<HBITMAP>(bitmap.get()), key_color, key_alpha, image);
}

}  // namespace noxd

COsdBitmap::COsdBitmap(noxd::OverlayRenderer* owner, const noxd::ImageCorners& corners_,
                       int32_t anchor_, uint32_t key_color_, uint8_t key_alpha_)
    : CBaseOsdObject(owner, kOsdBitmap), corners(corners_), key_color(key_color_),
      key_alpha(key_alpha_), anchor(anchor_) {}

HRESULT COsdBitmap::Draw() { return noxd::DrawOsdImage(*renderer, image, corners, anchor); }

void COsdBitmap::LoadFile(const wchar_t* path) {
    if (status != S_OK) return;
    status = noxd::LoadOsdFilePixels(path, key_color, key_alpha, image);
}

void COsdBitmap::LoadHandle(HBITMAP bitmap) {
    if (status != S_OK) return;
    status = noxd::LoadOsdPixels(bitmap, key_color, key_alpha, image);
}

void COsdBitmap::LoadData32(const void* data, int32_t width, int32_t height) {
    if (status != S_OK) return;
    // Checked before anything is allocated or read: the host's buffer must
    // hold width x height pixels, and that size must be representable.
    const uint64_t w = static_cast<uint64_t>(std::llabs(static_cast<int64_t>(width)));
    const uint64_t h = static_cast<uint64_t>(std::llabs(static_cast<int64_t>(height)));
    if (!data || w == 0 || h == 0 || !noxd::FitsImageByteSize(w, h)) {
        status = E_INVALIDARG;
        return;
    }
    if (!image.Allocate(static_cast<uint32_t>(w), static_cast<uint32_t>(h))) {
        status = E_FAIL;
        return;
    }
    std::memcpy(image.pixels.get(), data, static_cast<size_t>(image.byte_size()));
}
