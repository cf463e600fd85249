#include "window_capture.h"

#include <cstdlib>

namespace noxd_test {

Capture Capture::OfClient(HWND window) {
    Capture c;
    RECT client = {};
    GetClientRect(window, &client);
    c.width_ = client.right;
    c.height_ = client.bottom;
    c.pixels_.assign(static_cast<size_t>(c.width_) * c.height_, 0);
    if (c.width_ <= 0 || c.height_ <= 0) return c;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = c.width_;
    info.bmiHeader.biHeight = -c.height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    // Read from the screen where the client area lies: GL output reaches the
    // screen, while a window DC may show only what GDI painted.
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    HDC window_dc = GetDC(nullptr);
    HDC memory_dc = CreateCompatibleDC(window_dc);
    HBITMAP dib = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory_dc, dib);
    BitBlt(memory_dc, 0, 0, c.width_, c.height_, window_dc, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* src = static_cast<const uint32_t*>(bits);
    c.pixels_.assign(src, src + c.pixels_.size());
    SelectObject(memory_dc, old);
    DeleteObject(dib);
    DeleteDC(memory_dc);
    ReleaseDC(nullptr, window_dc);
    return c;
}

Rgb Capture::At(int x, int y) const {
    const uint32_t p = pixels_[static_cast<size_t>(y) * width_ + x];
    return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
            static_cast<int>(p & 0xFF)};
}

::testing::AssertionResult Near(Rgb got, Rgb want, int tolerance) {
    if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
        std::abs(got.b - want.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.r << "," << got.g << "," << got.b
                                         << ") want (" << want.r << "," << want.g << ","
                                         << want.b << ") within " << tolerance;
}

}  // namespace noxd_test
