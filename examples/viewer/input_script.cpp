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
        if (first != "novideo" || !second.empty()) return "wait takes the state novideo";
        InputEvent e;
        e.at_ms = t;
        e.kind = InputKind::kWaitNoVideo;
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

const InputEvent* ScriptCursor::Next(uint64_t elapsed_ms, bool no_video) {
    for (; next_ < events_.size() && events_[next_].at_ms <= elapsed_ms; ++next_) {
        if (events_[next_].kind != InputKind::kWaitNoVideo) return &events_[next_++];
        if (!no_video) return nullptr;
    }
    return nullptr;
}

}  // namespace viewer
