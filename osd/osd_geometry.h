// The six geometric overlays. They hold only their arguments, so their
// FreeResources() has nothing to do. Coordinates are normalized video
// coordinates (y up) unless a field says pixels.
#pragma once

#include <cstdint>

#include "osd_object.h"

// Filled, or an outline that may be dashed with the pattern it captured.
class COsdRectangle : public CBaseOsdObject {
public:
    COsdRectangle(CGLRenderer* owner, float x0, float y0, float x1, float y1, bool filled,
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
    COsdEllipse(CGLRenderer* owner, float cx, float cy, double radius, bool filled, uint32_t color,
                uint32_t line_width);
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
    COsdEllipse2(CGLRenderer* owner, float cx, float cy, double radius_x, double radius_y,
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
    COsdTriangle(CGLRenderer* owner, const float (&vertices)[6], bool filled, uint32_t color,
                 uint32_t line_width, bool dashed);
    HRESULT Draw() override;

    float vertices[6];  // x0, y0, x1, y1, x2, y2
    uint32_t line_width;
    uint32_t dashed;
    uint16_t dash_mask;
};

class COsdLine : public CBaseOsdObject {
public:
    COsdLine(CGLRenderer* owner, float x0, float y0, float x1, float y1, uint32_t color,
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
    COsdPoint(CGLRenderer* owner, float x, float y, uint32_t color, uint32_t point_size);
    HRESULT Draw() override;

    float x, y;
    uint32_t point_size;
};

namespace noxd {

// A rectangle for the rubber band (or any caller inside the library), built
// with the pattern the renderer holds now; null when memory is short. Hand it
// to AddOsdObject, which owns it from then on.
CBaseOsdObject* NewOsdRectangle(CGLRenderer* renderer, float x0, float y0, float x1, float y1,
                                bool filled, uint32_t color, float line_width, bool dashed);

}  // namespace noxd
