// Where the viewer puts its overlays, in normalized video coordinates
// (x 0..1 left to right, y 0..1 bottom to top). Plain values.
#pragma once

#include <cstdint>
#include <vector>

#include "view_math.h"

namespace viewer {
namespace layout {

// Camera name and clock, top-left corner; drawn at the text's natural size.
constexpr float kCaptionLeft = 0.02f;
constexpr float kCaptionTop = 0.97f;
constexpr int kCaptionFontHeight = 20;

// The statistics line (F1), under the caption.
constexpr float kStatsTop = 0.91f;
constexpr int kStatsFontHeight = 16;

// The logo, stretched over these corners, top right.
constexpr Corners kLogo = {0.80f, 0.96f, 0.95f, 0.86f};

// The recording dot (radius a fraction of the video height) and its label, bottom left.
constexpr float kRecX = 0.05f;
constexpr float kRecY = 0.07f;
constexpr float kRecRadius = 0.025f;
constexpr float kRecLabelLeft = 0.075f;
constexpr float kRecLabelTop = 0.105f;

// The digital-zoom button, bottom right, stretched: its hit area is its picture.
constexpr Corners kZoomButton = {0.90f, 0.14f, 0.97f, 0.04f};
constexpr int kButtonSize = 40;  // pixels of the button's images

}  // namespace layout

// Overlay colours, 0xAABBGGRR.
constexpr unsigned kCaptionTextColour = 0xFFFFFFFF;  // opaque white
constexpr unsigned kCaptionBackground = 0x00FF00FF;  // magenta of alpha 0: see-through
constexpr unsigned kCaptionOutline = 0xFF000000;     // opaque black
constexpr unsigned kRecColour = 0xFF0000FF;          // opaque red
constexpr unsigned kPrivacyColour = 0xFF000000;      // opaque black

// The zoom button's picture: a magnifier whose lens is green while zoom is
// on and grey while it is off, on a dark square that lightens when pressed.
// kButtonSize square, blue-green-red-alpha bytes, top row first, opaque.
std::vector<uint8_t> ZoomButtonPixels(bool zoom_on, bool pressed);

}  // namespace viewer
