#include "osd_view.h"

#include <cmath>

namespace noxd_osd_test {

Rgb HalfRedOverGrey() {
    const double a = 128.0 / 255.0;
    const int grey = static_cast<int>(128 * (1 - a));
    return {static_cast<int>(255 * a + 128 * (1 - a)), grey, grey};
}

OsdView::OsdView(int width, int height)
    : width_(width), height_(height), renderer_(NOXD_FORMAT_BGR32, 16, 16, width, height, L"noxd osd test"),
      frame_(noxd_test::BgrFrame(NOXD_FORMAT_BGR32, 16, 16,
                                 [](int, int) { return noxd_test::Bgr{128, 128, 128}; })) {}

Capture OsdView::Draw() { return renderer_.DrawAndCapture(frame_); }

int OsdView::Column(double x) const { return static_cast<int>(std::floor(x * width_)); }
int OsdView::Row(double y) const { return static_cast<int>(std::floor((1.0 - y) * height_)); }

::testing::AssertionResult Shows(const Capture& shot, int x, int y, Rgb want, int tolerance) {
    return noxd_test::Near(shot.At(x, y), want, tolerance) << " at (" << x << ", " << y << ")";
}

HBITMAP Bitmap32(int width, int height, const std::vector<uint32_t>& pixels) {
    return CreateBitmap(width, height, 1, 32, pixels.data());
}

HBITMAP Halves(uint32_t left, uint32_t right) {
    std::vector<uint32_t> pixels(64);
    for (int i = 0; i < 64; ++i) pixels[i] = i % 8 < 4 ? left : right;
    return Bitmap32(8, 8, pixels);
}

TempFile::TempFile(const std::wstring& name, const std::vector<uint8_t>& bytes) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    path_ = std::wstring(folder) + name;
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

TempFile::~TempFile() { DeleteFileW(path_.c_str()); }

}  // namespace noxd_osd_test
