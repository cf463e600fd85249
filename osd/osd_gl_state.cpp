#include "osd_gl_state.h"

#include "osd_list.h"

namespace noxd {

void SetOverlayBlending(bool coverage_in_alpha) {
    if (coverage_in_alpha)
        glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    else
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

OsdColour::OsdColour(uint32_t color) {
    uint32_t alpha = color >> 24;
    // A colour given without alpha is meant opaque.
    if (alpha == 0) alpha = 0xFF;
    rgba_[0] = static_cast<GLubyte>(color & 0xFF);
    rgba_[1] = static_cast<GLubyte>((color >> 8) & 0xFF);
    rgba_[2] = static_cast<GLubyte>((color >> 16) & 0xFF);
    rgba_[3] = static_cast<GLubyte>(alpha);
    blended_ = alpha != 0xFF;
    if (blended_) glEnable(GL_BLEND);
    Issue();
}

OsdColour::~OsdColour() {
    if (blended_) glDisable(GL_BLEND);
}

OsdOpaqueAlpha::OsdOpaqueAlpha() {
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
    glEnable(GL_COLOR_LOGIC_OP);
    glLogicOp(GL_SET);
}

OsdOpaqueAlpha::~OsdOpaqueAlpha() {
    glLogicOp(GL_COPY);
    glDisable(GL_COLOR_LOGIC_OP);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

OsdLineStipple::OsdLineStipple(bool dashed, uint16_t pattern) : dashed_(dashed) {
    if (!dashed_) return;
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(2, pattern);
}

OsdLineStipple::~OsdLineStipple() {
    if (!dashed_) return;
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_LINE_STIPPLE);
}

OsdDashPatternSwap::OsdDashPatternSwap(noxd::OverlayRenderer& renderer, uint16_t own_pattern)
    : list_(renderer.osd) {
    list_.SwapInDashMask(own_pattern);
}

OsdDashPatternSwap::~OsdDashPatternSwap() { list_.RestoreDashMask(); }

OsdPictureProjection::OsdPictureProjection(const PictureRect& rect, Orientation orientation) {
    float placed[16];
    PictureMatrix(rect, orientation, placed);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadMatrixf(placed);
    glMatrixMode(GL_MODELVIEW);
}

OsdPictureProjection::~OsdPictureProjection() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

OsdPixelProjection::OsdPixelProjection(double width, double height) {
    // Onto the picture's turn, so pixel-sized shapes turn with it too.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDepthFunc(GL_ALWAYS);
}

OsdPixelProjection::~OsdPixelProjection() {
    glDepthFunc(GL_LESS);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

}  // namespace noxd
