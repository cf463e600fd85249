// The power-of-two tiles of a converted picture: they cover the picture
// exactly once within the GL's limit, and the quads that draw them put every
// picture point where the whole quad would.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "picture_shape.h"
#include "picture_tiles.h"

using namespace noxd;

namespace {

bool PowerOfTwo(int32_t v) { return v > 0 && (v & (v - 1)) == 0; }

double Area(const VideoQuad& q) {
    double twice = 0;
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        twice += q.vertex[i][0] * q.vertex[j][1] - q.vertex[j][0] * q.vertex[i][1];
    }
    return std::fabs(twice) / 2;
}

}  // namespace

TEST(PictureTilesTest, TilesCoverThePictureOnceWithinTheLimit) {
    struct Case {
        int32_t width, height, max;
        int across, down;
    } const cases[] = {
        {640, 480, 1024, 1, 1},   {1920, 1080, 1024, 2, 2}, {1022, 1, 1024, 1, 1}, {1023, 1, 1024, 2, 1},
        {1, 1, 4, 1, 1},          {5, 3, 4, 3, 2},          {3000, 700, 1000, 6, 2},  // 1000 acts as 512
        {16434, 16, 16384, 2, 1}, {0, 10, 1024, 0, 0},      {10, 10, 3, 0, 0},
    };
    for (const Case& c : cases) {
        const std::vector<PictureTile> tiles = PictureTilesFor(c.width, c.height, c.max);
        ASSERT_EQ(tiles.size(), static_cast<size_t>(c.across * c.down)) << c.width << "x" << c.height << " in " << c.max;
        if (tiles.empty()) continue;
        std::vector<int> covered(static_cast<size_t>(c.width) * c.height, 0);
        for (const PictureTile& t : tiles) {
            EXPECT_TRUE(PowerOfTwo(t.texture_width) && PowerOfTwo(t.texture_height));
            EXPECT_GE(t.texture_width, t.width + 2);
            EXPECT_GE(t.texture_height, t.height + 2);
            EXPECT_LE(t.texture_width, PowerOfTwoFloor(c.max));
            EXPECT_LE(t.texture_height, PowerOfTwoFloor(c.max));
            for (int32_t y = t.y; y < t.y + t.height; ++y)
                for (int32_t x = t.x; x < t.x + t.width; ++x) ++covered[static_cast<size_t>(y) * c.width + x];
        }
        for (int n : covered) ASSERT_EQ(n, 1) << c.width << "x" << c.height << " in " << c.max;
    }
}

// Upright, zoomed, turned and mirrored quads, cut into tiles: each part's
// corners lie where the whole quad puts the same picture point, and the
// parts add up to the whole quad.
TEST(PictureTilesTest, TileQuadsDrawThePictureAsTheWholeQuadWould) {
    const int32_t width = 100, height = 60;
    const std::vector<PictureTile> tiles = PictureTilesFor(width, height, 32);
    ASSERT_GT(tiles.size(), 4u);
    VideoQuad zoomed = UprightVideoQuad(true);
    for (auto& tex : zoomed.tex) {
        tex[0] = 0.3f + 0.4f * tex[0];
        tex[1] = 0.1f + 0.5f * tex[1];
    }
    const PictureRect rect = {0.1, 0.2, 0.6, 0.7};
    const VideoQuad quads[] = {
        UprightVideoQuad(false),
        zoomed,
        ShapedVideoQuad(zoomed, rect, Orientation{1, false}),
        ShapedVideoQuad(UprightVideoQuad(false), rect, Orientation{3, true}),
    };
    for (const VideoQuad& whole : quads) {
        double parts_area = 0;
        for (const PictureTile& t : tiles) {
            VideoQuad part;
            if (!TileQuad(whole, t, width, height, part)) continue;
            parts_area += Area(part);
            for (int i = 0; i < 4; ++i) {
                // Back from the tile's texture to the picture, then through
                // the whole quad by its corners 0, 1 and 3.
                const double s = (part.tex[i][0] * t.texture_width + t.x - 1) / width;
                const double u = (part.tex[i][1] * t.texture_height + t.y - 1) / height;
                EXPECT_GE(s * width, t.x - 1e-3);
                EXPECT_LE(s * width, t.x + t.width + 1e-3);
                const double a = whole.tex[1][0] - whole.tex[0][0], b = whole.tex[3][0] - whole.tex[0][0];
                const double c = whole.tex[1][1] - whole.tex[0][1], d = whole.tex[3][1] - whole.tex[0][1];
                const double det = a * d - b * c;
                const double w1 = (d * (s - whole.tex[0][0]) - b * (u - whole.tex[0][1])) / det;
                const double w3 = (a * (u - whole.tex[0][1]) - c * (s - whole.tex[0][0])) / det;
                for (int k = 0; k < 2; ++k) {
                    const double want = whole.vertex[0][k] + w1 * (whole.vertex[1][k] - whole.vertex[0][k]) +
                                        w3 * (whole.vertex[3][k] - whole.vertex[0][k]);
                    EXPECT_NEAR(part.vertex[i][k], want, 1e-4);
                }
            }
        }
        EXPECT_NEAR(parts_area, Area(whole), 1e-4);
    }
}

TEST(PictureTilesTest, RimRepeatsTheEdgePixels) {
    // 3 x 2 pixels in a 5 x 4 buffer rows 6 pixels apart.
    std::vector<uint32_t> buffer(6 * 4, 0);
    const uint32_t picture[2][3] = {{1, 2, 3}, {4, 5, 6}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) buffer[(y + 1) * 6 + x + 1] = picture[y][x];
    CopyEdgesIntoRim(buffer.data(), 3, 2, 6);
    const uint32_t want[4][5] = {{1, 1, 2, 3, 3}, {1, 1, 2, 3, 3}, {4, 4, 5, 6, 6}, {4, 4, 5, 6, 6}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(buffer[y * 6 + x], want[y][x]) << x << ", " << y;
    EXPECT_EQ(buffer[5], 0u);  // past the rim: untouched
}
