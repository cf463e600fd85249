// The GL calls noxd makes for the bench's fifty overlays, made by the floor
// itself, to price them on this GL without noxd: what llvmpipe charges for
// the calls the overlay contract fixes, and what images kept in textures of
// their own (which the contract does not allow) would save.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

namespace bench {

// Where the fifty overlays lie, in normalized video coordinates (y upward);
// noxd's overlays in the bench and the floor's copy of their calls share them.
struct OverlayPlaces {
    static constexpr float kTextTop = 0.98f, kTextBottom = 0.92f;
    static constexpr float kBitmapTop = 0.90f, kBitmapBottom = 0.78f;
    static constexpr float kRectangleTop = 0.76f, kRectangleBottom = 0.66f;
    static constexpr float kLineY = 0.44f;
    static constexpr float kCurveY = 0.56f;
    static constexpr float kCircleRadius = 0.04f;              // a fraction of the height
    static constexpr float kEllipseRadii[2] = {25.0f, 12.0f};  // pixels
    static constexpr unsigned kLineWidth = 2;                  // dashed lines and ellipses, pixels
    // Column i of ten starts at 0.1 i (a text fills it); the bitmap, the
    // rectangle and the line of a column keep 0.01 from its edges. Circle and
    // ellipse k of five are centred at CircleX and EllipseX.
    static float Column(int i) { return 0.1f * static_cast<float>(i); }
    static float Left(int i) { return Column(i) + 0.01f; }
    static float Right(int i) { return Column(i) + 0.09f; }
    static float CircleX(int k) { return 0.1f + 0.2f * static_cast<float>(k); }
    static float EllipseX(int k) { return 0.2f + 0.2f * static_cast<float>(k); }
};

constexpr uint32_t kRectangleColour = 0xFF20C0E0;  // opaque, 0xAABBGGRR
constexpr uint32_t kBitmapPixel = 0xFF3060F0;      // opaque, bytes B G R A: 0xAARRGGBB
constexpr uint32_t kLineColour = 0xFF00FFFF, kCircleColour = 0xFF0000FF, kEllipseColour = 0xFF00FF00;
constexpr int kBitmapSide = 64;
// The 64x64 bitmap of the bench's overlays: its top and bottom rows white.
std::vector<uint32_t> BenchBitmap();

class OverlayCalls {
public:
    // On the thread whose GL context is current. With `own_textures` each
    // image gets a texture of its own, uploaded here once; otherwise every
    // image is uploaded into texture name 4 each time it is drawn.
    explicit OverlayCalls(bool own_textures);
    ~OverlayCalls();
    OverlayCalls(const OverlayCalls&) = delete;
    OverlayCalls& operator=(const OverlayCalls&) = delete;

    // The fifty overlays over a viewport of width x height pixels, with no
    // program current and texture unit 0 active.
    void Draw(double width, double height) const;

private:
    struct Image {
        GLsizei width, height;
        std::vector<uint32_t> pixels;
        GLuint texture;  // 0: uploaded into the shared name at each draw
        float x0, y0, x1, y1;
    };
    void DrawImage(const Image& image) const;

    std::vector<Image> images_;
};

}  // namespace bench
