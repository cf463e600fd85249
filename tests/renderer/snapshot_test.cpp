// Snapshots against what the window shows, against the frame drawn, and as
// files a concurrent reader only ever sees whole.
#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#include <stb_image.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "support/frames.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {

constexpr int kFrameW = 64, kFrameH = 48;
const Yuv kQuadrants[4] = {{81, 90, 240}, {145, 54, 34}, {41, 240, 110}, {180, 128, 128}};

// Quadrants top-left, top-right, bottom-left, bottom-right.
std::vector<uint8_t> QuadrantFrame() {
    return YuvFrame(8, kFrameW, kFrameH, [](int x, int row) {
        return kQuadrants[(row < kFrameH / 2 ? 0 : 2) + (x < kFrameW / 2 ? 0 : 1)];
    });
}

struct Shot {
    HRESULT status = E_FAIL;
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    Rgb At(int x, int y) const {
        const uint32_t p = pixels[static_cast<size_t>(y) * width + x];
        return {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                static_cast<int>(p & 0xFF)};
    }
};

Shot SnapshotOf(NOXD_RENDERER r, int what) {
    Shot s;
    s.status = noxd_snapshot_to_memory(r, what, nullptr, 0, &s.width, &s.height);
    if (s.status != S_OK) return s;
    s.pixels.resize(static_cast<size_t>(s.width) * s.height);
    s.status = noxd_snapshot_to_memory(r, what, s.pixels.data(),
                                       static_cast<UINT>(s.pixels.size() * 4), &s.width, &s.height);
    return s;
}

// Pixels where the two differ by more than `tolerance` in any channel.
int DifferingPixels(const Shot& shot, const Capture& screen, int tolerance) {
    int differing = 0;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x)
            if (!Near(shot.At(x, y), screen.At(x, y), tolerance)) ++differing;
    return differing;
}

// Read as most programs read a picture: shared for reading only, which keeps
// the file from being replaced while it is open.
std::vector<uint8_t> FileBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::vector<uint8_t> bytes(1 << 20);
    DWORD read = 0;
    const BOOL ok = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(ok ? read : 0);
    return bytes;
}

std::wstring TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring folder = std::wstring(base) + L"noxd-snapshots-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder + L"\\";
}

int FilesIn(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"*").c_str(), &data);
    int count = 0;
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

// A view with a zoom window, a filled box and a text over the quadrant frame.
void DressTheView(NOXD_RENDERER r, UINT_PTR& box, UINT_PTR& text) {
    ASSERT_EQ(noxd_set_zoom_rect(r, 0.1f, 0.2f, 0.8f, 0.9f), 0);
    ASSERT_EQ(noxd_add_osd_rectangle(r, &box, 0.4f, 0.6f, 0.6f, 0.4f, 1, 0xFF00FFFF, 0, 1), S_OK);
    ASSERT_EQ(noxd_add_osd_text(r, &text, L"Gate 1", 20, L"Arial", 700, 0.05f, 0.95f, 0.5f, 0.8f, 1,
                                0xFFFFFFFF, 0x00000000, 0xFF000000, 1),
              S_OK);
}

TEST(SnapshotTest, ViewSnapshotIsWhatTheWindowShowsEvenWhenCovered) {
    ScopedRenderer r(NOXD_FORMAT_I420, kFrameW, kFrameH, 200, 150);
    ASSERT_EQ(r.status(), S_OK);
    UINT_PTR box = 0, text = 0;
    DressTheView(r.get(), box, text);
    const Capture screen = r.DrawAndCapture(QuadrantFrame());

    const Shot view = SnapshotOf(r.get(), 1);
    ASSERT_EQ(view.status, S_OK);
    ASSERT_EQ(view.width, 200);
    ASSERT_EQ(view.height, 150);
    EXPECT_EQ(DifferingPixels(view, screen, 1), 0);

    // Another window over the view: the screen shows it, the snapshot does not.
    RECT frame = {};
    GetWindowRect(r.window(), &frame);
    HWND cover = CreateHostWindow(frame.left, frame.top, 300, 250);
    SetWindowPos(cover, HWND_TOPMOST, frame.left, frame.top, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    PumpMessages();
    const Capture covered = Capture::SettledOfClient(r.window());
    EXPECT_GT(DifferingPixels(view, covered, 1), 1000) << "the window was not covered";
    const Shot again = SnapshotOf(r.get(), 1);
    ASSERT_EQ(again.status, S_OK);
    EXPECT_EQ(DifferingPixels(again, screen, 1), 0);
    DestroyWindow(cover);
}

TEST(SnapshotTest, FrameSnapshotIsTheDecodedFrameAtItsOwnSize) {
    ScopedRenderer r(NOXD_FORMAT_I420, kFrameW, kFrameH, 200, 150);
    ASSERT_EQ(r.status(), S_OK);
    int w = 0, h = 0;
    uint32_t pixel = 0;
    EXPECT_EQ(noxd_snapshot_to_memory(r.get(), 0, &pixel, 4, &w, &h), NOXD_E_NO_FRAME);
    UINT_PTR box = 0, text = 0;
    DressTheView(r.get(), box, text);
    r.DrawAndCapture(QuadrantFrame());

    const Shot frame = SnapshotOf(r.get(), 0);
    ASSERT_EQ(frame.status, S_OK);
    ASSERT_EQ(frame.width, kFrameW);
    ASSERT_EQ(frame.height, kFrameH);
    // Every quadrant whole, unzoomed, with no box (yellow) over the middle.
    const int xs[2] = {kFrameW / 4, 3 * kFrameW / 4}, ys[2] = {kFrameH / 4, 3 * kFrameH / 4};
    for (int q = 0; q < 4; ++q)
        EXPECT_TRUE(Near(frame.At(xs[q % 2], ys[q / 2]), ExpectedRgb(kQuadrants[q]), 4)) << "quadrant " << q;
    EXPECT_TRUE(Near(frame.At(kFrameW / 2 - 3, kFrameH / 2 - 3), ExpectedRgb(kQuadrants[0]), 4));

    EXPECT_EQ(noxd_snapshot_to_memory(r.get(), 0, &pixel, 4, &w, &h),
              HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(w, kFrameW);
    EXPECT_EQ(h, kFrameH);
    EXPECT_EQ(noxd_snapshot_to_memory(r.get(), 2, nullptr, 0, &w, &h), E_INVALIDARG);
    EXPECT_EQ(noxd_snapshot_to_memory(nullptr, 0, nullptr, 0, &w, &h), E_INVALIDARG);
    EXPECT_EQ(noxd_snapshot(r.get(), nullptr, 0), E_INVALIDARG);
}

TEST(SnapshotTest, FilesHoldTheSnapshotAsBmpOrPngAndNothingElseIsLeft) {
    ScopedRenderer r(NOXD_FORMAT_I420, kFrameW, kFrameH, 200, 150);
    ASSERT_EQ(r.status(), S_OK);
    UINT_PTR box = 0, text = 0;
    DressTheView(r.get(), box, text);
    r.DrawAndCapture(QuadrantFrame());
    const Shot view = SnapshotOf(r.get(), 1);
    ASSERT_EQ(view.status, S_OK);

    const std::wstring folder = TempFolder();
    const std::wstring bmp = folder + L"view.bmp", png = folder + L"view.PNG";
    ASSERT_EQ(noxd_snapshot(r.get(), bmp.c_str(), 1), S_OK);
    ASSERT_EQ(noxd_snapshot(r.get(), png.c_str(), 1), S_OK);
    EXPECT_EQ(FilesIn(folder), 2);

    // The BMP: 24 bits, bottom row first, rows padded to 4 bytes.
    const std::vector<uint8_t> b = FileBytes(bmp);
    ASSERT_EQ(b.size(), 54u + 200 * 3 * 150);
    ASSERT_EQ(b[0], 'B');
    ASSERT_EQ(b[1], 'M');
    int bmp_mismatches = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            const uint8_t* p = &b[54 + static_cast<size_t>(149 - y) * 600 + x * 3];
            if (!Near(Rgb{p[2], p[1], p[0]}, view.At(x, y), 0)) ++bmp_mismatches;
        }
    EXPECT_EQ(bmp_mismatches, 0);

    const std::vector<uint8_t> p = FileBytes(png);
    int w = 0, h = 0, channels = 0;
    stbi_uc* decoded = stbi_load_from_memory(p.data(), static_cast<int>(p.size()), &w, &h, &channels, 3);
    ASSERT_NE(decoded, nullptr);
    ASSERT_EQ(w, 200);
    ASSERT_EQ(h, 150);
    int png_mismatches = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            const stbi_uc* q = decoded + (static_cast<size_t>(y) * 200 + x) * 3;
            if (!Near(Rgb{q[0], q[1], q[2]}, view.At(x, y), 0)) ++png_mismatches;
        }
    stbi_image_free(decoded);
    EXPECT_EQ(png_mismatches, 0);
    DeleteFileW(bmp.c_str());
    DeleteFileW(png.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST(SnapshotTest, AReaderSeesOnlyWholeFilesWhileSnapshotsAreWritten) {
    ScopedRenderer r(NOXD_FORMAT_I420, kFrameW, kFrameH, 200, 150);
    ASSERT_EQ(r.status(), S_OK);
    r.DrawAndCapture(QuadrantFrame());
    const std::wstring folder = TempFolder();
    const std::wstring path = folder + L"loop.bmp";
    const size_t whole = 54u + 200 * 3 * 150;

    std::atomic<bool> writing{true};
    std::atomic<int> whole_reads{0}, partial_reads{0};
    std::thread reader([&] {
        while (writing) {
            const std::vector<uint8_t> bytes = FileBytes(path);
            if (bytes.empty()) continue;  // not there yet
            if (bytes.size() == whole && bytes[0] == 'B' && bytes[1] == 'M')
                ++whole_reads;
            else
                ++partial_reads;
        }
    });
    HRESULT last = S_OK;
    for (int i = 0; i < 40 && last == S_OK; ++i) {
        // Each snapshot differs from the one before, so every file is new.
        UINT_PTR marker = 0;
        noxd_add_osd_point(r.get(), &marker, (i % 10) / 10.0f, 0.5f, 6, 0xFF0000FF);
        last = noxd_snapshot(r.get(), path.c_str(), 1);
    }
    // The reader has seen the last file at least once before it stops.
    while (whole_reads == 0 && partial_reads == 0) Sleep(1);
    writing = false;
    reader.join();
    EXPECT_EQ(last, S_OK);
    EXPECT_GT(whole_reads, 0);
    EXPECT_EQ(partial_reads, 0);
    EXPECT_EQ(FilesIn(folder), 1) << "no temporary file is left behind";
    DeleteFileW(path.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
