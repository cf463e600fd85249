// The benchmarks, each printing its figures and whether its goal is met.
// All figures are ratios or counts measured in this one process.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "contender.h"
#include "noxd_api.h"

namespace bench {

struct Options {
    bool quick = false;  // fewer blocks and shorter runs, still three repeats
    int repeats = 3;
    int only_width = 0;  // frame-cost grids: only frames of this width (0: all)
};

struct Result {
    int number;
    std::string title;
    std::string report;   // the tables, ready to print
    bool measured = false;
    bool met = false;
    bool has_goal = true;
    int cards_checked = 0;
    int cards_wrong = 0;  // contenders that showed a wrong picture; no figure for them
};

// The frame formats and sizes of the frame-cost grids.
struct FormatInfo {
    int code;
    const char* name;
};
extern const FormatInfo kFormats[6];
struct FrameSize {
    int width, height;
};
extern const FrameSize kFrameSizes[3];

// How the frame-cost grids compare two views of frames of `size` in turns.
TurnPlan FrameTurns(const Options& options, const FrameSize& size);

// noxd against `reference_name`'s pipelines in every cell of formats x
// sizes; the goal, if any, is on noxd's speed relative to the reference.
Result CompareGrid(int number, const std::string& title, const std::string& reference_name,
                   PipelineFactory reference, const std::optional<Goal>& goal, const Options& options);

Result FrameCostVsFloor(const Options& options);  // 1
// 2: SDL2 as the reference; not measured where SDL2 was not built.
Result PeerVsSdl2(const Options& options);
Result IdleRenderers(const Options& options);     // 3
Result Wall(const Options& options);              // 4
Result Overlays(const Options& options);          // 5
Result StartUp(const Options& options);           // 6
// 10: noxd given I420 and NV12 frames plane by plane with padded rows, as
// decoders hand them over, against the same frames packed.
Result PaddedRows(const Options& options);
// 11: the GL path without shaders: the CPU conversion of frames to B G R A,
// and the frame rate of a view on that path (in a child process) against one
// on the shader path.
Result GlFallbackPath(const Options& options);
// Not a goal: the floor with each piece of noxd's frame sequence added, to
// show what each costs and what is left that is noxd's own.
Result ExplainGap(const Options& options);
// The cost of each kind of the fifty overlays alone, as a table.
std::string OverlayCostByKind(const Options& options);
// What result 9 measures of both builds in turns: result 1's frame costs,
// result 5's overlays, result 3's idle CPU and result 6's start-up.
struct AgainstParts {
    bool frames, overlays, idle, start_up;
};
// Not a goal: this noxd.dll against another build of it, to show what a
// change bought or cost.
Result AgainstOtherBuild(const Options& options, const NoxdApi& other, const std::string& label,
                         const AgainstParts& parts);
// Result 9's idle part, to be added to `result`'s report.
std::string IdleAgainst(const Options& options, const NoxdApi& other, Result& result);
// 7: the card checks of all the others.
Result PictureChecks(const std::vector<Result>& others);

// What ran: the noxd.dll loaded, the bench's architecture and build, Wine and
// the GL the floor runs on.
std::string BuildDescription();

// Prints every result and the list of goals met and not met.
void PrintResult(const Result& result);
void PrintSummary(const std::vector<Result>& results);

}  // namespace bench
