// The picture's shape in the view: how it meets the window's aspect, its
// quarter turns and mirror, as the command line and the keys change them.
// Plain logic, no Windows headers.
#pragma once

#include <string>

#include "nox_values.h"

namespace viewer {

// The renderer's NOXD_ASPECT_* codes.
enum class AspectMode { kStretch = 0, kFit = 1, kFill = 2 };

struct PictureShape {
    AspectMode aspect = AspectMode::kStretch;
    int degrees = 0;  // clockwise, after the mirror: 0, 90, 180 or 270
    bool mirror = false;
};

// "stretch", "fit" or "fill"; false for any other text, `mode` left as it was.
bool ParseAspectMode(const std::string& text, AspectMode& mode);
const char* AspectModeName(AspectMode mode);
// "0", "90", "180" or "270"; false for any other text, `degrees` left as it was.
bool ParseDegrees(const std::string& text, int& degrees);

// What the keys do: stretch, fit, fill and round again; a quarter turn
// clockwise; the mirror switched.
AspectMode NextAspectMode(AspectMode mode);
int QuarterTurnFrom(int degrees);

// The console's line for a change: "aspect fit", "rotation 90", "mirror on".
std::string AspectLine(AspectMode mode);
std::string RotationLine(int degrees);
std::string MirrorLine(bool mirror);
// "sample aspect 12:11", or "sample aspect square".
std::string SampleAspectLine(nox::SampleAspect sample_aspect);

}  // namespace viewer
