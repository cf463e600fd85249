// A renderer on a window of its own showing a flat grey picture, so any
// overlay pixel stands out, and the maths from normalized video coordinates
// to client pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/frames.h"
#include "support/renderer_fixture.h"

namespace noxd_osd_test {

using noxd_test::Capture;
using noxd_test::Rgb;

constexpr Rgb kGrey = {128, 128, 128};
constexpr Rgb kRed = {255, 0, 0};
constexpr Rgb kGreen = {0, 255, 0};
constexpr Rgb kBlue = {0, 0, 255};
constexpr Rgb kWhite = {255, 255, 255};
constexpr Rgb kBlack = {0, 0, 0};

// Overlay colours 0xAABBGGRR.
constexpr uint32_t kOsdRed = 0xFF0000FF;
constexpr uint32_t kOsdGreen = 0xFF00FF00;
constexpr uint32_t kOsdBlue = 0xFFFF0000;

// Red with alpha 0x80 blended over the grey picture.
Rgb HalfRedOverGrey();

class OsdView {
public:
    OsdView(int width, int height);

    NOXD_RENDERER get() const { return renderer_.get(); }
    HRESULT status() const { return renderer_.status(); }
    int width() const { return width_; }
    int height() const { return height_; }
    // Draws one frame with the overlays and reads the window back.
    Capture Draw();

    // Client column of x and client row (from the top) of y, both normalized
    // video coordinates with y up; the pixel whose centre is nearest.
    int Column(double x) const;
    int Row(double y) const;

private:
    int width_;
    int height_;
    noxd_test::ScopedRenderer renderer_;
    std::vector<uint8_t> frame_;
};

// Whether two colours are the same within a tolerance small enough that a
// missing, misplaced or wrongly blended overlay exceeds it.
::testing::AssertionResult Shows(const Capture& shot, int x, int y, Rgb want, int tolerance = 8);

// Top-down 32-bit pixels (0xAARRGGBB words) as a device-dependent bitmap of
// the caller's; delete it with DeleteObject.
HBITMAP Bitmap32(int width, int height, const std::vector<uint32_t>& pixels);

// An 8 x 8 32-bit bitmap, left half `left` and right half `right`; wide
// enough that filtering blends the halves only near the middle and the wrap.
HBITMAP Halves(uint32_t left, uint32_t right);

// A file written into the temporary folder for one test.
class TempFile {
public:
    TempFile(const std::wstring& name, const std::vector<uint8_t>& bytes);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const wchar_t* path() const { return path_.c_str(); }

private:
    std::wstring path_;
};

}  // namespace noxd_osd_test
