#include "view_shape.h"

namespace viewer {

namespace {

constexpr const char* kAspectNames[] = {"stretch", "fit", "fill"};
constexpr int kAspectModes = sizeof kAspectNames / sizeof kAspectNames[0];

}  // namespace

bool ParseAspectMode(const std::string& text, AspectMode& mode) {
    for (int i = 0; i < kAspectModes; ++i) {
        if (text == kAspectNames[i]) {
            mode = static_cast<AspectMode>(i);
            return true;
        }
    }
    return false;
}

const char* AspectModeName(AspectMode mode) { return kAspectNames[static_cast<int>(mode)]; }

bool ParseDegrees(const std::string& text, int& degrees) {
    for (int turn = 0; turn < 360; turn += 90) {
        if (text == std::to_string(turn)) {
            degrees = turn;
            return true;
        }
    }
    return false;
}

AspectMode NextAspectMode(AspectMode mode) {
    return static_cast<AspectMode>((static_cast<int>(mode) + 1) % kAspectModes);
}

int QuarterTurnFrom(int degrees) { return (degrees + 90) % 360; }

std::string AspectLine(AspectMode mode) { return std::string("aspect ") + AspectModeName(mode); }

std::string RotationLine(int degrees) { return "rotation " + std::to_string(degrees); }

std::string MirrorLine(bool mirror) { return mirror ? "mirror on" : "mirror off"; }

std::string SampleAspectLine(nox::SampleAspect sample_aspect) {
    if (!sample_aspect.num) return "sample aspect square";
    return "sample aspect " + std::to_string(sample_aspect.num) + ":" + std::to_string(sample_aspect.den);
}

}  // namespace viewer
