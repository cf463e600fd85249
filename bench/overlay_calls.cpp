#include "overlay_calls.h"

#include <windows.h>

#include <cmath>

#include "curve_walk.h"
#include "osd_pixels.h"
#include "win32_owners.h"

namespace bench {

namespace {

constexpr GLuint kSharedOverlayTexture = 4;
constexpr uint16_t kDefaultDashes = 0xE3F8;

// The canvas noxd rasterises "Cam NN" on (16 px bold Arial).
SIZE TextCanvas() {
    const noxd::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    const noxd::UniqueFont font(CreateFontW(16, 0, 0, 0, 700, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                            DEFAULT_PITCH, L"Arial"));
    const noxd::SelectedObject font_in(dc.get(), font.get());
    SIZE extent = {60, 16};
    GetTextExtentPointW(dc.get(), L"Cam 01", 6, &extent);
    const noxd::CanvasSize canvas = noxd::TextCanvasSize(extent.cx, extent.cy);
    return {canvas.width, canvas.height};
}

// White letters on a clear ground, roughly: every third pixel opaque.
std::vector<uint32_t> TextPixels(SIZE canvas) {
    std::vector<uint32_t> pixels(static_cast<size_t>(canvas.cx) * canvas.cy, 0);
    for (size_t i = 0; i < pixels.size(); i += 3) pixels[i] = 0xFFFFFFFF;
    return pixels;
}

void IssueColour(uint32_t rgba) {
    const GLubyte bytes[4] = {static_cast<GLubyte>(rgba), static_cast<GLubyte>(rgba >> 8),
                              static_cast<GLubyte>(rgba >> 16), static_cast<GLubyte>(rgba >> 24)};
    glColor4ubv(bytes);
}

float Device(float fraction) { return 2 * fraction - 1; }

// Viewport pixels for the curves, as noxd sets them up and puts them back.
void PushPixelProjection(double width, double height) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDepthFunc(GL_ALWAYS);
}

void PopPixelProjection() {
    glDepthFunc(GL_LESS);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void DrawFilledRectangle(float x0, float y0, float x1, float y1) {
    IssueColour(kRectangleColour);
    glBegin(GL_QUADS);
    glVertex3f(Device(x0), Device(y0), 0);
    glVertex3f(Device(x1), Device(y0), 0);
    glVertex3f(Device(x1), Device(y1), 0);
    glVertex3f(Device(x0), Device(y1), 0);
    glEnd();
}

void DrawDashedLine(float x0, float x1, float y) {
    IssueColour(kLineColour);
    glLineWidth(OverlayPlaces::kLineWidth);
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(2, kDefaultDashes);
    glBegin(GL_LINE_STRIP);
    IssueColour(kLineColour);
    glVertex3f(Device(x0), Device(y), 0);
    glVertex3f(Device(x1), Device(y), 0);
    glEnd();
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_LINE_STIPPLE);
}

void DrawDisc(double px, double py, double r, double width, double height) {
    IssueColour(kCircleColour);
    PushPixelProjection(width, height);
    IssueColour(kCircleColour);
    glBegin(GL_TRIANGLE_FAN);
    noxd::ForEachCurvePoint(noxd::CurveStride(r), [&](float c, float s) { glVertex3d(px + r * c, py + r * s, 0); });
    glEnd();
    PopPixelProjection();
}

void DrawEllipse(double px, double py, double turn, double width, double height) {
    const double rx = OverlayPlaces::kEllipseRadii[0], ry = OverlayPlaces::kEllipseRadii[1];
    const double cos_r = std::cos(turn), sin_r = std::sin(turn);
    IssueColour(kEllipseColour);
    PushPixelProjection(width, height);
    IssueColour(kEllipseColour);
    glLineWidth(OverlayPlaces::kLineWidth);
    glBegin(GL_LINE_LOOP);
    // The band of a wide line reaches half its width beyond the curve.
    noxd::ForEachCurvePoint(noxd::CurveStride(rx + OverlayPlaces::kLineWidth / 2.0), [&](float c, float s) {
        glVertex2f(static_cast<float>(px + rx * c * cos_r - ry * s * sin_r),
                   static_cast<float>(py + rx * c * sin_r + ry * s * cos_r));
    });
    glEnd();
    PopPixelProjection();
}

}  // namespace

std::vector<uint32_t> BenchBitmap() {
    std::vector<uint32_t> bitmap(kBitmapSide * kBitmapSide, kBitmapPixel);
    for (int i = 0; i < kBitmapSide; ++i) bitmap[i] = bitmap[kBitmapSide * (kBitmapSide - 1) + i] = 0xFFFFFFFF;
    return bitmap;
}

OverlayCalls::OverlayCalls(bool own_textures) {
    using P = OverlayPlaces;
    const SIZE canvas = TextCanvas();
    const std::vector<uint32_t> text = TextPixels(canvas), bitmap = BenchBitmap();
    // noxd keeps a bitmap's rows top-down and draws its top row along y0.
    for (int i = 0; i < 10; ++i) {
        images_.push_back({canvas.cx, canvas.cy, text, 0, P::Column(i), P::kTextTop, P::Column(i + 1),
                           P::kTextBottom});
        images_.push_back({kBitmapSide, kBitmapSide, bitmap, 0, P::Left(i), P::kBitmapTop, P::Right(i),
                           P::kBitmapBottom});
    }
    if (!own_textures) return;
    for (Image& image : images_) {
        glGenTextures(1, &image.texture);
        glBindTexture(GL_TEXTURE_2D, image.texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                     image.pixels.data());
    }
}

OverlayCalls::~OverlayCalls() {
    for (const Image& image : images_)
        if (image.texture) glDeleteTextures(1, &image.texture);
}

void OverlayCalls::DrawImage(const Image& image) const {
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_ALPHA_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindTexture(GL_TEXTURE_2D, image.texture ? image.texture : kSharedOverlayTexture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    if (!image.texture)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, image.width, image.height, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                     image.pixels.data());
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(Device(image.x0), Device(image.y0), 0);
    glTexCoord2f(1, 0);
    glVertex3f(Device(image.x1), Device(image.y0), 0);
    glTexCoord2f(1, 1);
    glVertex3f(Device(image.x1), Device(image.y1), 0);
    glTexCoord2f(0, 1);
    glVertex3f(Device(image.x0), Device(image.y1), 0);
    glEnd();
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
}

// In the order the bench adds them to noxd: per column a text, a bitmap, a
// filled rectangle and a dashed line; then per pair a circle and an ellipse.
void OverlayCalls::Draw(double width, double height) const {
    using P = OverlayPlaces;
    for (int i = 0; i < 10; ++i) {
        DrawImage(images_[2 * i]);
        DrawImage(images_[2 * i + 1]);
        DrawFilledRectangle(P::Left(i), P::kRectangleTop, P::Right(i), P::kRectangleBottom);
        DrawDashedLine(P::Left(i), P::Right(i), P::kLineY);
    }
    for (int k = 0; k < 5; ++k) {
        DrawDisc(P::CircleX(k) * width, P::kCurveY * height, P::kCircleRadius * height, width, height);
        DrawEllipse(P::EllipseX(k) * width, P::kCurveY * height, k, width, height);
    }
}

}  // namespace bench
