// The bitmap file check: sound files pass, every file of the malformed
// corpus fails, and no damage to a file's bytes makes the check read past
// them or pass a file whose pixels would lie outside it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "bmp_corpus.h"
#include "math/bmp_file_check.h"

using namespace noxd;
using namespace noxd_osd_test;

namespace {

uint32_t Stripes(int x, int) { return x % 2 ? 0x00FFFFFF : 0; }

// The check on an exact-size copy, so any read past the end lands outside
// the allocation where a checker would notice.
bool Check(const std::vector<uint8_t>& file) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[file.size() + 1]);
    if (!file.empty()) std::memcpy(copy.get(), file.data(), file.size());
    const size_t head = std::min(file.size(), kBmpHeadBytes);
    return IsWellFormedBmpFile(copy.get(), head, file.size());
}

TEST(BmpFileCheckTest, SoundFilesPass) {
    EXPECT_TRUE(Check(Bmp24(5, 4, Stripes)));
    EXPECT_TRUE(Check(Bmp24(1, 1, Stripes)));
    EXPECT_TRUE(Check(Bmp24(64, 3, Stripes)));
    EXPECT_TRUE(Check(Bmp8(7, 3)));
    std::vector<uint8_t> extra = Bmp24(5, 4, Stripes);
    extra.resize(extra.size() + 100);  // trailing bytes are harmless
    EXPECT_TRUE(Check(extra));
    std::vector<uint8_t> top_down = Bmp24(5, 4, Stripes);
    top_down[22] = 0xFC, top_down[23] = top_down[24] = top_down[25] = 0xFF;  // height -4
    EXPECT_TRUE(Check(top_down));
}

TEST(BmpFileCheckTest, EveryMalformedFileOfTheCorpusFails) {
    const std::vector<MalformedBmp> corpus = MalformedBmpCorpus();
    EXPECT_GE(corpus.size(), 20u);
    for (const MalformedBmp& bad : corpus) EXPECT_FALSE(Check(bad.bytes)) << bad.name;
}

TEST(BmpFileCheckTest, HeadShorterThanTheHeadersFails) {
    const std::vector<uint8_t> good = Bmp24(5, 4, Stripes);
    EXPECT_FALSE(IsWellFormedBmpFile(good.data(), 40, good.size()));
    EXPECT_FALSE(IsWellFormedBmpFile(good.data(), good.size(), 40));
    EXPECT_FALSE(IsWellFormedBmpFile(nullptr, 0, 0));
}

// Every truncation of a sound file fails: its pixel block is then short.
TEST(BmpFileCheckTest, EveryTruncationFails) {
    for (const std::vector<uint8_t>& good : {Bmp24(5, 4, Stripes), Bmp8(6, 2)}) {
        for (size_t size = 0; size < good.size(); ++size) {
            const std::vector<uint8_t> cut(good.begin(), good.begin() + size);
            EXPECT_FALSE(Check(cut)) << "cut to " << size << " of " << good.size();
        }
    }
}

// Random damage to the headers: whatever passes must still describe pixels
// that lie inside the file.
TEST(BmpFileCheckTest, RandomHeaderDamageNeverPassesAFileWithoutItsPixels) {
    std::mt19937 random(20240611);
    const std::vector<uint8_t> good = Bmp24(9, 7, Stripes);
    int passed = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<uint8_t> file = good;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) file[random() % 54] = static_cast<uint8_t>(random());
        if (random() % 4 == 0) file.resize(random() % (file.size() + 1));
        if (!Check(file)) continue;
        ++passed;
        const uint32_t offset = file[10] | file[11] << 8 | file[12] << 16 | uint32_t{file[13]} << 24;
        const int32_t width = static_cast<int32_t>(file[18] | file[19] << 8 | file[20] << 16 | uint32_t{file[21]} << 24);
        const int32_t height = static_cast<int32_t>(file[22] | file[23] << 8 | file[24] << 16 | uint32_t{file[25]} << 24);
        const int bits = file[28] | file[29] << 8;
        ASSERT_GT(width, 0);
        ASSERT_NE(height, 0);
        const uint64_t stride = ((static_cast<uint64_t>(width) * bits + 31) / 32) * 4;
        const uint64_t rows = static_cast<uint64_t>(height < 0 ? -static_cast<int64_t>(height) : height);
        const uint32_t compression = file[30] | file[31] << 8 | file[32] << 16 | uint32_t{file[33]} << 24;
        if (compression == 0 || compression == 3) {
            EXPECT_LE(offset + stride * rows, file.size()) << "round " << round;
        }
    }
    EXPECT_GT(passed, 0);  // some damage is harmless (e.g. to the file size field)
}

}  // namespace
