#include "input_script.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace viewer {

namespace {

bool ParsePoint(const std::string& text, int& x, int& y) {
    char comma = 0;
    char extra = 0;
    std::istringstream in(text);
    return (in >> x >> comma >> y) && comma == ',' && !(in >> extra);
}

void AddPointer(std::vector<InputEvent>& events, uint32_t at, InputKind kind, int x, int y) {
    InputEvent e;
    e.at_ms = at;
    e.kind = kind;
    e.x = x;
    e.y = y;
    events.push_back(e);
}

void AddDrag(std::vector<InputEvent>& events, uint32_t at, int x0, int y0, int x1, int y1) {
    AddPointer(events, at, InputKind::kPress, x0, y0);
    for (int step = 1; step <= kDragMoves; ++step) {
        AddPointer(events, at + step * kDragStepMs, InputKind::kMove,
                   x0 + (x1 - x0) * step / kDragMoves, y0 + (y1 - y0) * step / kDragMoves);
    }
    AddPointer(events, at + (kDragMoves + 1) * kDragStepMs, InputKind::kRelease, x1, y1);
}

// The state of a wait step: "novideo", or "frame" and a frame number.
bool ParseWait(const std::string& state, const std::string& number, InputEvent& e) {
    if (state == "novideo") return number.empty();
    if (state != "frame" || number.empty() || number.size() > 9 ||
        number.find_first_not_of("0123456789") != std::string::npos)
        return false;
    e.frame = static_cast<uint32_t>(std::stoul(number));
    return true;
}

bool IsWait(InputKind kind) { return kind == InputKind::kWaitNoVideo || kind == InputKind::kWaitFrame; }

// Whether the view is in the state a wait step waits for.
bool Reached(const InputEvent& wait, const ViewState& view) {
    return wait.kind == InputKind::kWaitNoVideo ? view.no_video : view.frame >= wait.frame;
}

// Parses one step into `events`; returns the error text, empty when it parsed.
std::string ParseStep(const std::string& line, std::vector<InputEvent>& events) {
    std::istringstream in(line);
    long at = -1;
    std::string action, first, second;
    if (!(in >> at) || at < 0) return "a step starts with its time in milliseconds";
    in >> action;
    const uint32_t t = static_cast<uint32_t>(at);
    if (action == "screenshot") {
        std::getline(in >> std::ws, first);
        while (!first.empty() && std::isspace(static_cast<unsigned char>(first.back()))) first.pop_back();
        if (first.empty()) return "screenshot needs a file name";
        InputEvent e;
        e.at_ms = t;
        e.kind = InputKind::kScreenshot;
        e.path = first;
        events.push_back(e);
        return {};
    }
    in >> first >> second;
    std::string rest;
    if (in >> rest) return "unexpected " + rest;
    int x0, y0, x1, y1;
    if (action == "key") {
        if (first.size() != 1 || !std::isalnum(static_cast<unsigned char>(first[0])) || !second.empty())
            return "key takes one letter or digit";
        InputEvent e;
        e.at_ms = t;
        e.kind = InputKind::kKey;
        e.key = static_cast<char>(std::toupper(static_cast<unsigned char>(first[0])));
        events.push_back(e);
    } else if (action == "drag") {
        if (!ParsePoint(first, x0, y0) || !ParsePoint(second, x1, y1)) return "drag takes two points x,y";
        AddDrag(events, t, x0, y0, x1, y1);
    } else if (action == "wait") {
        InputEvent e;
        e.at_ms = t;
        e.kind = first == "frame" ? InputKind::kWaitFrame : InputKind::kWaitNoVideo;
        if (!ParseWait(first, second, e)) return "wait takes novideo or frame N";
        events.push_back(e);
    } else if (action == "click" || action == "dblclick") {
        if (!ParsePoint(first, x0, y0) || !second.empty()) return action + " takes one point x,y";
        AddPointer(events, t, InputKind::kPress, x0, y0);
        AddPointer(events, t, InputKind::kRelease, x0, y0);
        if (action == "dblclick") {
            AddPointer(events, t, InputKind::kDoubleClick, x0, y0);
            AddPointer(events, t, InputKind::kRelease, x0, y0);
        }
    } else {
        return "unknown step '" + action + "'";
    }
    return {};
}

}  // namespace

ParsedScript ParseScript(const std::string& text) {
    ParsedScript script;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        const size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#') continue;
        const std::string error = ParseStep(line, script.events);
        if (!error.empty()) {
            script.events.clear();
            script.error = "line " + std::to_string(number) + ": " + error;
            return script;
        }
    }
    std::stable_sort(script.events.begin(), script.events.end(),
                     [](const InputEvent& a, const InputEvent& b) { return a.at_ms < b.at_ms; });
    return script;
}

const InputEvent* ScriptCursor::Next(uint64_t elapsed_ms, const ViewState& view) {
    for (; next_ < events_.size() && events_[next_].at_ms <= elapsed_ms; ++next_) {
        if (!IsWait(events_[next_].kind)) return &events_[next_++];
        if (!Reached(events_[next_], view)) return nullptr;
    }
    return nullptr;
}

}  // namespace viewer
