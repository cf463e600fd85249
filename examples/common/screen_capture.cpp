#include "screen_capture.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO_DEFAULT
#include <stb_image_write.h>

#include <cstdio>
#include <memory>

namespace noxd_examples {

namespace {

struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct ObjectDeleter {
    void operator()(HBITMAP object) const { DeleteObject(object); }
};

}  // namespace

ClientPixels CaptureClientArea(HWND window) {
    ClientPixels shot;
    RECT client = {};
    GetClientRect(window, &client);
    shot.width = client.right;
    shot.height = client.bottom;
    if (shot.width <= 0 || shot.height <= 0) return shot;
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    HDC screen = GetDC(nullptr);
    std::unique_ptr<HDC__, DcDeleter> memory(CreateCompatibleDC(screen));
    void* bits = nullptr;
    std::unique_ptr<HBITMAP__, ObjectDeleter> dib(
        CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (memory && dib) {
        HGDIOBJ old = SelectObject(memory.get(), dib.get());
        BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        const auto* first = static_cast<const uint32_t*>(bits);
        shot.bgra.assign(first, first + static_cast<size_t>(shot.width) * shot.height);
        SelectObject(memory.get(), old);
    }
    ReleaseDC(nullptr, screen);
    return shot;
}

bool SavePng(const ClientPixels& pixels, const char* path) {
    std::vector<unsigned char> rgb;
    rgb.reserve(pixels.bgra.size() * 3);
    for (uint32_t p : pixels.bgra) {
        rgb.push_back(static_cast<unsigned char>(p >> 16));
        rgb.push_back(static_cast<unsigned char>(p >> 8));
        rgb.push_back(static_cast<unsigned char>(p));
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "wb"), &std::fclose);
    if (!file || rgb.empty()) return false;
    auto write = [](void* context, void* data, int size) {
        std::fwrite(data, 1, static_cast<size_t>(size), static_cast<FILE*>(context));
    };
    return stbi_write_png_to_func(write, file.get(), pixels.width, pixels.height, 3, rgb.data(),
                                  pixels.width * 3) != 0 &&
           std::ferror(file.get()) == 0;
}

}  // namespace noxd_examples
