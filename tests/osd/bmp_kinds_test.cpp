// Bitmap files of the kinds people write, loaded from disk and read back off
// the window: top-down files right side up, 1-bit files through either order
// of their two-colour table, and RLE files, which exist only bottom row
// first, refused when stored top-down.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "bmp_corpus.h"
#include "osd_view.h"

using namespace noxd_osd_test;

namespace {

// Six colours 0x00RRGGBB and the same as the screen shows them.
const std::vector<uint32_t> kColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0xFFFF00};
const Rgb kShown[] = {kRed, kGreen, kBlue, kWhite, kBlack, {255, 255, 0}};

constexpr int kWidth = 5, kHeight = 3;  // odd both ways, so any skew or flip shows

size_t g_table_size = 6;  // entries the picture's indices cycle through
uint32_t IndexAt(int x, int y) { return static_cast<uint32_t>((x + 2 * y) % g_table_size); }
uint32_t ColourAt(int x, int y) { return kColours[IndexAt(x, y)]; }

HRESULT AddFile(const OsdView& v, UINT_PTR* slot, const std::vector<uint8_t>& bytes, uint32_t key) {
    const TempFile file(L"noxd_osd_kind.bmp", bytes);
    return noxd_add_osd_bitmap_file(v.get(), slot, file.path(), 0, 1, 1, 0, 0, key, 0);
}

// Every cell of the picture stretched over the view shows shown(x, y).
template <typename Shown>
void ExpectPicture(OsdView& v, Shown shown, const std::string& what) {
    const Capture shot = v.Draw();
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int cx = (2 * x + 1) * v.width() / (2 * kWidth), cy = (2 * y + 1) * v.height() / (2 * kHeight);
            EXPECT_TRUE(Shows(shot, cx, cy, shown(x, y))) << what << ", cell " << x << "," << y;
        }
}

// Magenta appears in no picture here: a 32-bit file without alpha stays opaque.
constexpr uint32_t kAbsentKey = 0x00FF00FF;

TEST(OsdBitmapKindsTest, EveryDepthShowsRightSideUpStoredEitherWay) {
    for (int bits : {1, 4, 8, 24, 32})
        for (bool top_down : {false, true}) {
            const std::string what = std::to_string(bits) + (top_down ? "-bit top-down" : "-bit bottom-up");
            OsdView v(400, 300);
            ASSERT_EQ(v.status(), S_OK);
            g_table_size = bits == 1 ? 2 : kColours.size();
            const std::vector<uint32_t> table =
                bits > 8 ? std::vector<uint32_t>{}
                         : std::vector<uint32_t>(kColours.begin(), kColours.begin() + g_table_size);
            const auto bytes = BmpOf(kWidth, kHeight, bits, top_down, table, bits > 8 ? ColourAt : IndexAt);
            UINT_PTR slot = 0;
            ASSERT_EQ(AddFile(v, &slot, bytes, kAbsentKey), S_OK) << what;
            ExpectPicture(v, [](int x, int y) { return kShown[IndexAt(x, y)]; }, what);
        }
}

uint32_t Checker(int x, int y) { return (x + y) % 2; }
uint32_t InverseChecker(int x, int y) { return 1 - Checker(x, y); }

TEST(OsdBitmapKindsTest, OneBitFilesGoThroughEitherTableOrderAndAreOpaque) {
    const auto white_first = BmpOf(kWidth, kHeight, 1, false, {0xFFFFFF, 0x000000}, Checker);
    const auto black_first = BmpOf(kWidth, kHeight, 1, false, {0x000000, 0xFFFFFF}, InverseChecker);
    for (const auto* bytes : {&white_first, &black_first}) {
        const std::string what = bytes == &white_first ? "white then black" : "black then white";
        OsdView v(400, 300);
        ASSERT_EQ(v.status(), S_OK);
        UINT_PTR slot = 0;
        // Black is the key, yet a converted image carries its own alpha.
        ASSERT_EQ(AddFile(v, &slot, *bytes, 0x000000), S_OK) << what;
        EXPECT_NE(slot, 0u);
        ExpectPicture(v, [](int x, int y) { return Checker(x, y) ? kBlack : kWhite; }, what);
    }
}

// An RLE8 file whose every row is one run of its row's colour index: red,
// green, blue from the top.
std::vector<uint8_t> Rle8Rows(bool top_down) {
    std::vector<uint8_t> runs;
    for (int stored = 0; stored < kHeight; ++stored) {
        const int y = top_down ? stored : kHeight - 1 - stored;
        runs.insert(runs.end(), {static_cast<uint8_t>(kWidth), static_cast<uint8_t>(y), 0, 0});
    }
    runs.back() = 1;  // the last end of line becomes the end of the bitmap
    g_table_size = 3;
    std::vector<uint8_t> b = BmpOf(1, 1, 8, false, {0xFF0000, 0x00FF00, 0x0000FF}, IndexAt);
    b.resize(b.size() - 4);  // the one stored row
    const size_t pixels = b.size();
    b.insert(b.end(), runs.begin(), runs.end());
    auto put32 = [&b](size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); };
    put32(2, static_cast<uint32_t>(b.size()));
    put32(18, kWidth);
    put32(22, static_cast<uint32_t>(top_down ? -kHeight : kHeight));
    put32(30, 1);  // RLE8
    put32(34, static_cast<uint32_t>(b.size() - pixels));
    return b;
}

TEST(OsdBitmapKindsTest, RleStoredTopDownIsRefusedAndStoredBottomUpDraws) {
    OsdView v(400, 300);
    ASSERT_EQ(v.status(), S_OK);
    UINT_PTR slot = 0;
    EXPECT_EQ(AddFile(v, &slot, Rle8Rows(true), 0x000000), E_INVALIDARG);
    EXPECT_EQ(slot, 0u);
    EXPECT_TRUE(Shows(v.Draw(), 200, 150, kGrey));
    ASSERT_EQ(AddFile(v, &slot, Rle8Rows(false), kAbsentKey), S_OK);
    ExpectPicture(v, [](int, int y) { return kShown[y]; }, "rle8");
}

}  // namespace
