#include <gtest/gtest.h>

#include "input_script.h"

namespace viewer {
namespace {

struct Step {
    uint32_t at;
    InputKind kind;
    int x, y;
};

std::vector<Step> Pointer(const ParsedScript& s) {
    std::vector<Step> steps;
    for (const InputEvent& e : s.events) steps.push_back({e.at_ms, e.kind, e.x, e.y});
    return steps;
}

bool operator==(const Step& a, const Step& b) {
    return a.at == b.at && a.kind == b.kind && a.x == b.x && a.y == b.y;
}

TEST(ViewerScript, DragBecomesPressEightMovesAndRelease) {
    const ParsedScript s = ParseScript("100 drag 0,0 80,40\n");
    ASSERT_EQ(s.error, "");
    const std::vector<Step> steps = Pointer(s);
    ASSERT_EQ(steps.size(), 10u);
    EXPECT_EQ(steps.front(), (Step{100, InputKind::kPress, 0, 0}));
    EXPECT_EQ(steps[1], (Step{140, InputKind::kMove, 10, 5}));
    EXPECT_EQ(steps[8], (Step{420, InputKind::kMove, 80, 40}));
    EXPECT_EQ(steps.back(), (Step{460, InputKind::kRelease, 80, 40}));
}

TEST(ViewerScript, ClicksKeysAndScreenshotsInTimeOrder) {
    const ParsedScript s = ParseScript(
        "# a comment\r\n"
        "\n"
        "900 screenshot C:\\out folder\\z.png  \r\n"
        "500 dblclick 3,4\n"
        "500 key p\n"
        "200 click 1,2\n");
    ASSERT_EQ(s.error, "");
    const std::vector<Step> steps = Pointer(s);
    ASSERT_EQ(steps.size(), 8u);
    EXPECT_EQ(steps[0], (Step{200, InputKind::kPress, 1, 2}));
    EXPECT_EQ(steps[1], (Step{200, InputKind::kRelease, 1, 2}));
    EXPECT_EQ(steps[2], (Step{500, InputKind::kPress, 3, 4}));
    EXPECT_EQ(steps[3], (Step{500, InputKind::kRelease, 3, 4}));
    EXPECT_EQ(steps[4], (Step{500, InputKind::kDoubleClick, 3, 4}));
    EXPECT_EQ(steps[5], (Step{500, InputKind::kRelease, 3, 4}));
    EXPECT_EQ(s.events[6].kind, InputKind::kKey);  // same time: the script's order
    EXPECT_EQ(s.events[6].key, 'P');
    EXPECT_EQ(s.events[7].kind, InputKind::kScreenshot);
    EXPECT_EQ(s.events[7].path, "C:\\out folder\\z.png");
}

// A wait holds every later step, whatever its time, until the view is in
// its state: saying "NO VIDEO", or showing the frame named or a later one.
// Steps before it go at their times.
TEST(ViewerScript, AWaitHoldsTheStepsAfterItUntilTheViewIsInItsState) {
    ScriptCursor cursor(
        ParseScript("100 key A\n200 wait novideo\n200 key B\n300 key C\n300 wait frame 50\n300 key D\n").events);
    auto next_key = [&](uint64_t at, bool no_video, uint32_t frame) {
        const InputEvent* step = cursor.Next(at, {no_video, frame});
        return step ? step->key : '-';
    };
    EXPECT_EQ(next_key(50, true, 0), '-');
    EXPECT_EQ(next_key(5000, false, 99), 'A');
    EXPECT_EQ(next_key(5000, false, 99), '-');
    EXPECT_FALSE(cursor.done());
    EXPECT_EQ(next_key(150, true, 0), '-');  // the wait's own time has not come
    EXPECT_EQ(next_key(250, true, 0), 'B');
    EXPECT_EQ(next_key(250, false, 0), '-');  // C's time has not come
    EXPECT_EQ(next_key(300, false, 0), 'C');  // past the wait, the state no longer matters
    EXPECT_EQ(next_key(9000, true, 49), '-');
    EXPECT_EQ(next_key(300, false, 50), 'D');
    EXPECT_TRUE(cursor.done());
}

TEST(ViewerScript, MistakesNameTheirLine) {
    EXPECT_EQ(ParseScript("\n100 hover 1,2\n").error, "line 2: unknown step 'hover'");
    EXPECT_EQ(ParseScript("click 1,2").error, "line 1: a step starts with its time in milliseconds");
    EXPECT_EQ(ParseScript("1 drag 1,2").error, "line 1: drag takes two points x,y");
    EXPECT_EQ(ParseScript("1 click 1;2").error, "line 1: click takes one point x,y");
    EXPECT_EQ(ParseScript("1 click 1,2 3,4").error, "line 1: click takes one point x,y");
    EXPECT_EQ(ParseScript("1 key F1").error, "line 1: key takes one letter or digit");
    EXPECT_EQ(ParseScript("1 screenshot").error, "line 1: screenshot needs a file name");
    EXPECT_EQ(ParseScript("1 drag 1,2 3,4 5,6").error, "line 1: unexpected 5,6");
    for (const char* wait : {"1 wait", "1 wait video", "1 wait frame", "1 wait frame -1", "1 wait novideo 2"})
        EXPECT_EQ(ParseScript(wait).error, "line 1: wait takes novideo or frame N") << wait;
    EXPECT_TRUE(ParseScript("1 click 1,2\n2 oops").events.empty());
}

}  // namespace
}  // namespace viewer
