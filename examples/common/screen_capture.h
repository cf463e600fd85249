// Reads what the screen shows of a window's client area, the way a user sees
// it: GL output reaches the screen, while the window's own DC may hold only
// what GDI painted there.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace noxd_examples {

struct ClientPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> bgra;  // top row first, 0x00RRGGBB per pixel
};

ClientPixels CaptureClientArea(HWND window);

// Writes the pixels as an RGB PNG; false when the file cannot be written.
bool SavePng(const ClientPixels& pixels, const char* path);

}  // namespace noxd_examples
