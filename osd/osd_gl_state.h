// Scoped GL state for overlay drawing. Each overlay sets up what it needs and
// leaves the state as the next overlay expects it: blending, stipple and
// smoothing off, identity matrices, fill polygon mode, depth test GL_LESS.
// GL thread only, inside the draw pass.
#pragma once

#include "picture_shape.h"

#include <GL/glew.h>

#include <cstdint>

namespace noxd {

class OverlayList;
struct OverlayRenderer;

// The blend function of a pass of overlays, set once as it begins: by the
// source's alpha. With `coverage_in_alpha` the destination's alpha becomes
// the coverage of everything drawn so far, so a layer of overlays holds
// colours premultiplied by it (OverlayLayer); without it (GL 1.1 has no
// separate alpha blending) the destination's alpha is left undefined, which
// nothing drawn straight into the window reads.
void SetOverlayBlending(bool coverage_in_alpha);

// The overlay colour 0xAABBGGRR. Alpha 0 and 0xFF are opaque; anything in
// between is blended over what lies below, by the pass's blend function,
// and blending is switched off again
// when the scope ends.
class OsdColour {
public:
    explicit OsdColour(uint32_t color);
    ~OsdColour();
    OsdColour(const OsdColour&) = delete;
    OsdColour& operator=(const OsdColour&) = delete;

    // Issues the colour again (inside glBegin, or after a matrix change).
    void Issue() const { glColor4ubv(rgba_); }
    bool blended() const { return blended_; }

private:
    GLubyte rgba_[4];
    bool blended_;
};

// Dashed lines: each pattern bit covers two pixels, bit 0 first.
class OsdLineStipple {
public:
    OsdLineStipple(bool dashed, uint16_t pattern);
    ~OsdLineStipple();
    OsdLineStipple(const OsdLineStipple&) = delete;
    OsdLineStipple& operator=(const OsdLineStipple&) = delete;

private:
    bool dashed_;
};

// Puts an object's own dash pattern into the overlay list for the time it
// draws; the list's pattern waits in saved_dash_mask. Lock held by the pass.
class OsdDashPatternSwap {
public:
    OsdDashPatternSwap(OverlayRenderer& renderer, uint16_t own_pattern);
    ~OsdDashPatternSwap();
    OsdDashPatternSwap(const OsdDashPatternSwap&) = delete;
    OsdDashPatternSwap& operator=(const OsdDashPatternSwap&) = delete;

private:
    OverlayList& list_;
};

// Projection in viewport pixels, (0, 0) at the bottom-left, for shapes whose
// size is given in pixels or as a fraction of the viewport height. Restores
// identity matrices, with the model-view matrix current, when it ends.
class OsdPixelProjection {
public:
    OsdPixelProjection(double width, double height);
    ~OsdPixelProjection();
    OsdPixelProjection(const OsdPixelProjection&) = delete;
    OsdPixelProjection& operator=(const OsdPixelProjection&) = delete;
};

// For one scope, whatever is drawn sets the alpha of its pixels to opaque and
// leaves their colour: smoothing puts a point's coverage into its alpha,
// which an opaque point's colour ignores over the picture but which a layer
// of overlays would keep as a partly transparent rim.
// Draws on the picture rectangle `rect` of the video area, turned as
// `orientation` says, through the projection matrix; the one before comes
// back when the scope ends.
class OsdPictureProjection {
public:
    OsdPictureProjection(const PictureRect& rect, Orientation orientation);
    ~OsdPictureProjection();
    OsdPictureProjection(const OsdPictureProjection&) = delete;
    OsdPictureProjection& operator=(const OsdPictureProjection&) = delete;
};

class OsdOpaqueAlpha {
public:
    OsdOpaqueAlpha();
    ~OsdOpaqueAlpha();
    OsdOpaqueAlpha(const OsdOpaqueAlpha&) = delete;
    OsdOpaqueAlpha& operator=(const OsdOpaqueAlpha&) = delete;
};

// A state switched on for one scope, e.g. GL_POINT_SMOOTH.
class OsdEnabled {
public:
    explicit OsdEnabled(GLenum cap) : cap_(cap) { glEnable(cap_); }
    ~OsdEnabled() { glDisable(cap_); }
    OsdEnabled(const OsdEnabled&) = delete;
    OsdEnabled& operator=(const OsdEnabled&) = delete;

private:
    GLenum cap_;
};

// Normalized video coordinate (0..1) to normalized device coordinate (-1..1).
inline float DeviceCoordinate(float fraction) { return 2.0f * fraction - 1.0f; }

}  // namespace noxd
