// Timed input for unattended runs. One step a line, its time in
// milliseconds from the first frame shown, points in client pixels:
//   500 drag 320,120 600,360   press, 8 moves 40 ms apart, release 40 ms later
//   2000 click 600,440         press and release
//   2500 dblclick 10,10        press, release, double-click, release
//   3000 key P                 a key press (letter or digit)
//   3500 screenshot out\a.png  PNG of the first frame shown from then on
// Blank lines and lines starting with # are skipped. Plain logic.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace viewer {

enum class InputKind { kPress, kMove, kRelease, kDoubleClick, kKey, kScreenshot };

struct InputEvent {
    uint32_t at_ms = 0;
    InputKind kind = InputKind::kPress;
    int x = 0, y = 0;   // pointer events
    char key = 0;       // kKey: the upper-case letter or digit
    std::string path;   // kScreenshot
};

struct ParsedScript {
    std::vector<InputEvent> events;  // in time order; equal times keep the script's order
    std::string error;               // "line N: ..." when the script is wrong
};

ParsedScript ParseScript(const std::string& text);

// Moves of a drag between its press and its release.
constexpr int kDragMoves = 8;
constexpr uint32_t kDragStepMs = 40;

}  // namespace viewer
