// Texts and arithmetic of the view: the clock line, the verbose mouse line,
// the privacy mask's corners, the frame rate. Plain logic.
#pragma once

#include <cstdint>
#include <string>

namespace viewer {

struct ClockTime {
    int year, month, day, hour, minute, second;
};

// "<camera name>  YYYY-MM-DD hh:mm:ss"
std::string CaptionText(const std::string& camera_name, const ClockTime& t);

// "mouse WM_LBUTTONDOWN x=0.5000 y=0.5000 wParam=0x0001"
std::string MouseLine(unsigned message, float x, float y, uintptr_t wparam);

// A rectangle in normalized video coordinates (y upward, top > bottom).
struct Corners {
    float left, top, right, bottom;
};

// The mask the user dragged from (x0, y0) to (x1, y1), given in the mouse
// callback's privacy form (client area 0..10000, y downward), as the
// normalized video rectangle of a view that fills the client area, clamped
// to the picture.
Corners PrivacyCorners(float x0, float y0, float x1, float y1);

// The corners that show a text overlay at its natural size with the
// top-left kept (anchor 1), whose extents the renderer reads on a 768 x 576
// reference: the text's canvas is its extent rounded up to the next
// multiple of 20 pixels past 20 more, and 4 pixels taller.
Corners NaturalTextCorners(float left, float top, int text_width, int text_height);

// The statistics line: "25 fps  draw 1.20 ms mean 3.40 ms worst  250 frames".
std::string StatsText(unsigned frames_last_second, unsigned average_draw_us, unsigned worst_draw_us,
                      unsigned frames_drawn);

// Frames per second over the time between the first and the last frame
// shown; 0 with fewer than two frames.
double AverageFrameRate(uint64_t frames, uint64_t first_ms, uint64_t last_ms);

}  // namespace viewer
