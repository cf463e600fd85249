#include "osd_geometry.h"

#include <algorithm>
#include <cmath>

#include "curve_walk.h"
#include "osd_gl_state.h"
#include "osd_list.h"

using noxd::DeviceCoordinate;
using noxd::OsdColour;
using noxd::OsdDashPatternSwap;
using noxd::OsdEnabled;
using noxd::OsdLineStipple;
using noxd::OsdPixelProjection;

namespace {

uint16_t CapturedDashMask(noxd::OverlayRenderer* owner) {
    return owner ? owner->osd.CurrentDashMask() : uint16_t{0xE3F8};
}

// The upright picture's size in pixels in the pass being drawn.
double PictureWidth(const noxd::OverlayRenderer* r) { return r->osd.picture_space().width; }
double PictureHeight(const noxd::OverlayRenderer* r) { return r->osd.picture_space().height; }

// A radius given as a fraction of the picture's height; of its shorter side
// while it is turned a quarter.
double RelativeRadiusBase(const noxd::OverlayRenderer* r) {
    const auto& space = r->osd.picture_space();
    const double height = space.height;
    return space.orientation.quarter_turns % 2 ? std::min<double>(space.width, height) : height;
}

// A filled circle in pixels; the first vertex, on the rim, is the fan's hub.
void EmitDisc(double px, double py, double r) {
    glBegin(GL_TRIANGLE_FAN);
    noxd::ForEachCurvePoint(noxd::CurveStride(r), [&](float c, float s) {
        glVertex3d(px + r * c, py + r * s, 0);
    });
    glEnd();
}

// A circle outline of 50 vertices, with the angle step of 3.1415 rather than pi.
void EmitRing(double px, double py, double r, uint32_t line_width) {
    glLineWidth(static_cast<float>(line_width));
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < 50; ++i) {
        const float a = (static_cast<float>(i) / 50.0f) * 3.1415f * 2.0f;
        glVertex2f(static_cast<float>(px + r * std::cos(a)), static_cast<float>(py + r * std::sin(a)));
    }
    glEnd();
}

}  // namespace

COsdRectangle::COsdRectangle(noxd::OverlayRenderer* owner, float x0_, float y0_, float x1_,
                             float y1_, bool filled_, uint32_t color_, uint32_t line_width_,
                             bool dashed_)
    : CBaseOsdObject(owner, kOsdRectangle), x0(x0_), y0(y0_), x1(x1_), y1(y1_),
      line_width(line_width_), dashed(dashed_), dash_mask(CapturedDashMask(owner)) {
    filled = filled_;
    color = color_;
}

HRESULT COsdRectangle::Draw() {
    OsdDashPatternSwap swap(*renderer, dash_mask);
    return filled ? DrawFilled() : DrawOutline();
}

HRESULT COsdRectangle::DrawFilled() {
    const float X0 = DeviceCoordinate(x0), X1 = DeviceCoordinate(x1);
    const float Y0 = DeviceCoordinate(y0), Y1 = DeviceCoordinate(y1);
    if (std::fabs(X1 - X0) == 0.0f || std::fabs(Y1 - Y0) == 0.0f) return E_INVALIDARG;
    OsdColour colour(color);
    glBegin(GL_QUADS);
    glVertex3f(X0, Y0, 0);
    glVertex3f(X1, Y0, 0);
    glVertex3f(X1, Y1, 0);
    glVertex3f(X0, Y1, 0);
    glEnd();
    return S_OK;
}

HRESULT COsdRectangle::DrawOutline() {
    const float X0 = DeviceCoordinate(x0), X1 = DeviceCoordinate(x1);
    const float Y0 = DeviceCoordinate(y0), Y1 = DeviceCoordinate(y1);
    OsdColour colour(color);
    glLineWidth(static_cast<float>(line_width));
    OsdLineStipple stipple(dashed != 0, dash_mask);
    glBegin(dashed ? GL_LINE_STRIP : GL_LINE_LOOP);
    glVertex3f(X0, Y0, 0);
    glVertex3f(X1, Y0, 0);
    glVertex3f(X1, Y1, 0);
    glVertex3f(X0, Y1, 0);
    glVertex3f(X0, Y0, 0);
    glEnd();
    return S_OK;
}

COsdEllipse::COsdEllipse(noxd::OverlayRenderer* owner, float cx_, float cy_, double radius_,
                         bool filled_, uint32_t color_, uint32_t line_width_)
    : CBaseOsdObject(owner, kOsdEllipse), cx(cx_), cy(cy_), radius(radius_),
      line_width(line_width_), dash_mask(CapturedDashMask(owner)) {
    filled = filled_;
    color = color_;
}

HRESULT COsdEllipse::Draw() {
    OsdDashPatternSwap swap(*renderer, dash_mask);
    if (radius <= 0) return E_INVALIDARG;
    const double W = PictureWidth(renderer), H = PictureHeight(renderer);
    const double px = cx * W, py = cy * H, r = radius * RelativeRadiusBase(renderer);
    OsdColour colour(color);
    OsdPixelProjection pixels(W, H);
    colour.Issue();
    if (filled)
        EmitDisc(px, py, r);
    else
        EmitRing(px, py, r, line_width);
    return S_OK;
}

COsdEllipse2::COsdEllipse2(noxd::OverlayRenderer* owner, float cx_, float cy_, double radius_x_,
                           double radius_y_, uint32_t rotation_, bool filled_, uint32_t color_,
                           uint32_t line_width_)
    : CBaseOsdObject(owner, kOsdEllipse), cx(cx_), cy(cy_), radius_x(radius_x_),
      radius_y(radius_y_), line_width(line_width_), rotation(rotation_),
      dash_mask(CapturedDashMask(owner)) {
    filled = filled_;
    color = color_;
}

HRESULT COsdEllipse2::Draw() {
    OsdDashPatternSwap swap(*renderer, dash_mask);
    if (radius_x <= 0 || radius_y <= 0) return E_INVALIDARG;
    const double W = PictureWidth(renderer), H = PictureHeight(renderer);
    const double px = cx * W, py = cy * H;
    const double turn = static_cast<double>(rotation);
    const double cos_r = std::cos(turn), sin_r = std::sin(turn);
    OsdColour colour(color);
    OsdPixelProjection pixels(W, H);
    colour.Issue();
    glLineWidth(static_cast<float>(line_width));
    // The band of a wide line reaches half its width beyond the curve.
    const double reach = std::max(radius_x, radius_y) + line_width / 2.0;
    glBegin(GL_LINE_LOOP);
    noxd::ForEachCurvePoint(noxd::CurveStride(reach), [&](float c, float s) {
        glVertex2f(static_cast<float>(px + radius_x * c * cos_r - radius_y * s * sin_r),
                   static_cast<float>(py + radius_x * c * sin_r + radius_y * s * cos_r));
    });
    glEnd();
    return S_OK;
}

COsdTriangle::COsdTriangle(noxd::OverlayRenderer* owner, const float (&v)[6], bool filled_,
                           uint32_t color_, uint32_t line_width_, bool dashed_)
    : CBaseOsdObject(owner, kOsdTriangle), vertices{v[0], v[1], v[2], v[3], v[4], v[5]},
      line_width(line_width_), dashed(dashed_), dash_mask(CapturedDashMask(owner)) {
    filled = filled_;
    color = color_;
}

HRESULT COsdTriangle::Draw() {
    OsdDashPatternSwap swap(*renderer, dash_mask);
    float corners[3][2];
    for (int k = 0; k < 3; ++k) {
        corners[k][0] = DeviceCoordinate(vertices[2 * k]);
        corners[k][1] = DeviceCoordinate(vertices[2 * k + 1]);
    }
    OsdColour colour(color);
    if (filled) {
        glBegin(GL_TRIANGLES);
        for (const auto& corner : corners) glVertex2fv(corner);
        glEnd();
        return S_OK;
    }
    // The outline is the triangle drawn in line polygon mode.
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    {
        OsdLineStipple stipple(dashed != 0, dash_mask);
        glLineWidth(static_cast<float>(line_width));
        glBegin(GL_TRIANGLES);
        for (const auto& corner : corners) glVertex2fv(corner);
        glEnd();
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    return S_OK;
}

COsdLine::COsdLine(noxd::OverlayRenderer* owner, float x0_, float y0_, float x1_, float y1_,
                   uint32_t color_, uint32_t line_width_, bool dashed_)
    : CBaseOsdObject(owner, kOsdLine), x0(x0_), y0(y0_), x1(x1_), y1(y1_), line_width(line_width_),
      dashed(dashed_), dash_mask(CapturedDashMask(owner)) {
    color = color_;
}

HRESULT COsdLine::Draw() {
    OsdDashPatternSwap swap(*renderer, dash_mask);
    OsdColour colour(color);
    glLineWidth(static_cast<float>(line_width));
    OsdLineStipple stipple(dashed != 0, dash_mask);
    glBegin(dashed ? GL_LINE_STRIP : GL_LINES);
    colour.Issue();
    glVertex3f(DeviceCoordinate(x0), DeviceCoordinate(y0), 0);
    glVertex3f(DeviceCoordinate(x1), DeviceCoordinate(y1), 0);
    glEnd();
    return S_OK;
}

COsdPoint::COsdPoint(noxd::OverlayRenderer* owner, float x_, float y_, uint32_t color_,
                     uint32_t point_size_)
    : CBaseOsdObject(owner, kOsdPoint), x(x_), y(y_), point_size(point_size_) {
    color = color_;
}

HRESULT COsdPoint::Draw() {
    OsdColour colour(color);
    glPointSize(static_cast<float>(point_size));
    OsdEnabled round(GL_POINT_SMOOTH);
    const float position[2] = {DeviceCoordinate(x), DeviceCoordinate(y)};
    const auto draw = [&] {
        glBegin(GL_POINTS);
        colour.Issue();
        glVertex2fv(position);
        glEnd();
    };
    draw();
    if (!colour.blended()) {
        const noxd::OsdOpaqueAlpha opaque;
        draw();
    }
    return S_OK;
}

namespace noxd {

CBaseOsdObject* NewOsdRectangleWithPattern(OverlayRenderer& renderer, uint16_t pattern, float x0,
                                           float y0, float x1, float y1, bool filled,
                                           uint32_t color, uint32_t line_width, bool dashed) {
    ScopedRendererLock hold(renderer.lock);
    renderer.osd.SwapInDashMask(pattern);
    CBaseOsdObject* rectangle =
        NewOsdObject<COsdRectangle>(&renderer, x0, y0, x1, y1, filled, color, line_width, dashed);
    renderer.osd.RestoreDashMask();
    return rectangle;
}

}  // namespace noxd
