// Timed input for unattended runs. One step a line, its time in
// milliseconds from the first frame shown, points in client pixels:
//   500 drag 320,120 600,360   press, 8 moves 40 ms apart, release 40 ms later
//   2000 click 600,440         press and release
//   2500 dblclick 10,10        press, release, double-click, release
//   3000 key P                 a key press (letter or digit)
//   3500 screenshot out\a.png  PNG of the first frame shown from then on
//   4000 wait novideo          the steps after it wait until the view says
//                              "NO VIDEO" (no picture for the stale time)
//   4000 wait frame 50         ... until a frame numbered 50 or later is shown
// A step is sent when its time has come and every step before it was.
// Blank lines and lines starting with # are skipped. Plain logic.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace viewer {

enum class InputKind { kPress, kMove, kRelease, kDoubleClick, kKey, kScreenshot, kWaitNoVideo, kWaitFrame };

struct InputEvent {
    uint32_t at_ms = 0;
    InputKind kind = InputKind::kPress;
    int x = 0, y = 0;   // pointer events
    char key = 0;       // kKey: the upper-case letter or digit
    std::string path;   // kScreenshot
    uint32_t frame = 0; // kWaitFrame: the component's frame number
};

// What the view shows now, which waits wait for.
struct ViewState {
    bool no_video = false;  // it says "NO VIDEO"
    uint32_t frame = 0;     // the number of the frame shown last
};

struct ParsedScript {
    std::vector<InputEvent> events;  // in time order; equal times keep the script's order
    std::string error;               // "line N: ..." when the script is wrong
};

ParsedScript ParseScript(const std::string& text);

// Walks a parsed script in its order: each step once its time has come and
// every step before it went, a wait once the view is in its state.
class ScriptCursor {
public:
    explicit ScriptCursor(std::vector<InputEvent> events) : events_(std::move(events)) {}
    // The next step to send at `elapsed_ms`, or null when none is due.
    // Waits are passed once `view` is in their state, never returned.
    const InputEvent* Next(uint64_t elapsed_ms, const ViewState& view);
    bool done() const { return next_ == events_.size(); }

private:
    std::vector<InputEvent> events_;
    size_t next_ = 0;
};

// Moves of a drag between its press and its release.
constexpr int kDragMoves = 8;
constexpr uint32_t kDragStepMs = 40;

}  // namespace viewer
