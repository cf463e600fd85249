// Reads what a window shows, through GDI, the way a user would see it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <vector>

namespace noxd_test {

struct Rgb {
    int r, g, b;
};

class Capture {
public:
    // What the screen shows of the window's client area.
    static Capture OfClient(HWND window);
    // The same once the screen has settled: the swap that showed a frame and
    // the read of the screen travel to the X server on different
    // connections, so a read right after a swap may still see the old
    // picture. Read until two reads a moment apart agree.
    static Capture SettledOfClient(HWND window);

    bool SamePixelsAs(const Capture& other) const {
        return width_ == other.width_ && height_ == other.height_ && pixels_ == other.pixels_;
    }
    int width() const { return width_; }
    int height() const { return height_; }
    // (x, y) with y counted down from the top of the client area.
    Rgb At(int x, int y) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<uint32_t> pixels_;
};

// Succeeds when every channel differs by at most `tolerance`; says both colours when not.
::testing::AssertionResult Near(Rgb got, Rgb want, int tolerance);

}  // namespace noxd_test
