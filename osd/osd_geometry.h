// The six geometric overlays. They hold only their arguments, so their
// FreeResources() has nothing to do. Coordinates are normalized video
// coordinates (y up) unless a field says pixels.
#pragma once

#include <cstdint>

#include "osd_object.h"

// Filled, or an outline that may be dashed with the pattern it captured.
class COsdRectangle : public CBaseOsdObject {
public:
    COsdRectangle(noxd::OverlayRenderer* owner, float x0, float y0, float x1, float y1, bool filled,
                  uint32_t color, uint32_t line_width, bool dashed);
    HRESULT Draw() override;

    float x0, y0, x1, y1;
    uint32_t line_width;
    uint32_t dashed;
    uint16_t dash_mask;

private:
    HRESULT DrawFilled();
    HRESULT DrawOutline();
};

// A circle whose radius is a fraction of the viewport height.
class COsdEllipse : public CBaseOsdObject {
public:
    COsdEllipse(noxd::OverlayRenderer* owner, float cx, float cy, double radius, bool filled,
                uint32_t color, uint32_t line_width);
    HRESULT Draw() override;

    float cx, cy;
    double radius;
    uint32_t line_width;
    uint16_t dash_mask;
};

// The outline of an ellipse with radii in pixels, turned by `rotation`
// radians anticlockwise. `filled` is kept but never consulted.
class COsdEllipse2 : public CBaseOsdObject {
public:
    COsdEllipse2(noxd::OverlayRenderer* owner, float cx, float cy, double radius_x, double radius_y,
                 uint32_t rotation, bool filled, uint32_t color, uint32_t line_width);
    HRESULT Draw() override;

    float cx, cy;
    double radius_x, radius_y;
    uint32_t line_width;
    uint32_t rotation;
    uint16_t dash_mask;
};

class COsdTriangle : public CBaseOsdObject {
public:
    COsdTriangle(noxd::OverlayRenderer* owner, const float (&vertices)[6], bool filled,
                 uint32_t color, uint32_t line_width, bool dashed);
    HRESULT Draw() override;

    float vertices[6];  // x0, y0, x1, y1, x2, y2
    uint32_t line_width;
    uint32_t dashed;
    uint16_t dash_mask;
};

class COsdLine : public CBaseOsdObject {
public:
    COsdLine(noxd::OverlayRenderer* owner, float x0, float y0, float x1, float y1, uint32_t color,
             uint32_t line_width, bool dashed);
    HRESULT Draw() override;

    float x0, y0, x1, y1;
    uint32_t line_width;
    uint32_t dashed;
    uint16_t dash_mask;
};

// A round point of `point_size` pixels.
class COsdPoint : public CBaseOsdObject {
public:
    COsdPoint(noxd::OverlayRenderer* owner, float x, float y, uint32_t color, uint32_t point_size);
    HRESULT Draw() override;

    float x, y;
    uint32_t point_size;
};

namespace noxd {

// A rectangle built with its own dash pattern, for the rubber band: under
// the lock, `pattern` stands in for the list's pattern while the rectangle is
// built, and the list's pattern is back afterwards. Null when memory is
// short; hand it to OverlayList::Add, which owns it from then on.
CBaseOsdObject* NewOsdRectangleWithPattern(OverlayRenderer& renderer, uint16_t pattern, float x0,
                                           float y0, float x1, float y1, bool filled,
                                           uint32_t color, uint32_t line_width, bool dashed);

}  // namespace noxd
