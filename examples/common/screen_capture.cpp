#include "screen_capture.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO_DEFAULT
#include <stb_image_write.h>

#include <cstdio>

#include "win32_owners.h"

namespace noxd_examples {

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

    const noxd::ScreenDc screen;
    const noxd::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    void* bits = nullptr;
    const noxd::UniqueBitmap dib(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (memory && dib) {
        const noxd::SelectedObject dib_in(memory.get(), dib.get());
        BitBlt(memory.get(), 0, 0, shot.width, shot.height, screen.get(), origin.x, origin.y, SRCCOPY);
        GdiFlush();
        const auto* first = static_cast<const uint32_t*>(bits);
        shot.bgra.assign(first, first + static_cast<size_t>(shot.width) * shot.height);
    }
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
