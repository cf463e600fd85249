#include "window_capture.h"

#include <cstdlib>
#include <utility>

#include "common/screen_capture.h"

namespace noxd_test {

Capture Capture::OfClient(HWND window) {
    const noxd_examples::ClientPixels shot = noxd_examples::CaptureClientArea(window);
    Capture c;
    c.width_ = shot.width;
    c.height_ = shot.height;
    c.pixels_ = shot.bgra;
    c.pixels_.resize(static_cast<size_t>(c.width_) * c.height_);
    return c;
}

Capture Capture::SettledOfClient(HWND window) {
    Capture last = OfClient(window);
    for (int i = 0; i < 25; ++i) {
        Sleep(30);
        Capture next = OfClient(window);
        if (next.SamePixelsAs(last)) return next;
        last = std::move(next);
    }
    return last;
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
