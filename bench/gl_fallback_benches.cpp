// Result 11: the GL path for drivers without shaders, where frames are
// converted to B G R A pixels on the CPU and loaded as they are. Each part
// of the result measures one side of that path and adds its table.
#include <windows.h>

#include <libyuv/cpu_id.h>

#include <vector>

#include "benches.h"
#include "bgra_conversion.h"
#include "contender.h"
#include "frame_layout.h"
#include "gl11_child.h"
#include "noxd_pipeline.h"
#include "test_card.h"

namespace bench {

namespace {

struct ConversionCase {
    FormatInfo format;
    FrameSize size;
    const char* rows;  // the instructions libyuv's rows may use
    int cpu_flags;     // libyuv's flags they are chosen by; 0: all this CPU has
};

// libyuv's flags of a CPU without AVX2, as most before 2013 were, which
// picks its SSSE3 rows; and of none at all, which picks its rows in C.
constexpr int kSsse3Cpu = libyuv::kCpuInitialized | libyuv::kCpuHasX86 | libyuv::kCpuHasSSE2 |
                          libyuv::kCpuHasSSSE3 | libyuv::kCpuHasSSE41 | libyuv::kCpuHasSSE42;
constexpr int kPlainCpu = libyuv::kCpuInitialized;

// Milliseconds of single conversions of a packed frame on this thread,
// BT.601 limited range, cycling through four frames of the moving pattern as
// a host hands over new ones; the first few, which fault in the buffers,
// are not counted.
std::vector<double> ConversionMs(const ConversionCase& c, int repeats) {
    const int w = c.size.width, h = c.size.height;
    const noxd::FormatClass cls = *noxd::FormatClassOf(c.format.code);
    const std::vector<std::vector<uint8_t>> frames = MovingFrames(c.format.code, w, h, 4);
    std::vector<uint8_t> bgra(4 * static_cast<size_t>(w) * h);
    if (c.cpu_flags) libyuv::MaskCpuFlags(c.cpu_flags);
    const int warm_up = 4;
    std::vector<double> ms;
    for (int i = 0; i < warm_up + repeats; ++i) {
        const noxd::FramePlanes planes = noxd::PackedFramePlanes(cls, w, h, frames[i % frames.size()].data());
        const LONGLONG start = CounterNow();
        noxd::ConvertToBgra(planes, 0, false, bgra.data(), 4 * static_cast<ptrdiff_t>(w));
        const double seconds = CounterSeconds(CounterNow() - start);
        if (i >= warm_up) ms.push_back(1000.0 * seconds);
    }
    if (c.cpu_flags) libyuv::MaskCpuFlags(-1);
    return ms;
}

// The conversion alone (math/bgra_conversion.cpp, libyuv underneath) on one
// core: I420 at the three sizes, whose 1920x1080 row carries the goal; for
// comparison NV12 and YUY2 at 1920x1080, and I420 at 1920x1080 as an older
// CPU would convert it.
std::string ConversionPart(const Options& options, Result& result) {
    const FormatInfo i420 = {8, "I420"}, nv12 = {kFormatNv12, "NV12"}, yuy2 = {12, "YUY2"};
    const FrameSize full_hd = {1920, 1080};
    const char* const all = "all this CPU has";
    const ConversionCase cases[] = {{i420, {640, 480}, all, 0},       {i420, {1280, 720}, all, 0},
                                    {i420, full_hd, all, 0},          {nv12, full_hd, all, 0},
                                    {yuy2, full_hd, all, 0},          {i420, full_hd, "SSSE3", kSsse3Cpu},
                                    {i420, full_hd, "none (C)", kPlainCpu}};
    const Goal goal = {Goal::AtMost, 4.0};
    const int repeats = options.quick ? 40 : 200;
    // One core: the thread stays on the processor it starts on.
    const DWORD_PTR previous = SetThreadAffinityMask(GetCurrentThread(), 1);
    Table table;
    table.AddRow({"format", "size", "SIMD", "ms per frame", "Gpixel/s", "goal"});
    for (const ConversionCase& c : cases) {
        const Summary s = Summarize(ConversionMs(c, repeats));
        const double pixels = static_cast<double>(c.size.width) * c.size.height;
        const bool goal_row = c.format.code == 8 && c.size.width == 1920 && c.cpu_flags == 0;
        if (goal_row) result.met = GoalMet(goal, s);
        table.AddRow({c.format.name, Format("%dx%d", c.size.width, c.size.height), c.rows, FormatSummary(s, 3),
                      Format("%.2f", pixels / (s.median / 1000.0) / 1e9),
                      goal_row ? GoalText(goal) + " ms: " + Verdict(result.met) : ""});
    }
    if (previous) SetThreadAffinityMask(GetCurrentThread(), previous);
    return Format("CPU conversion of a packed frame to B G R A pixels (ConvertToBgra, BT.601 limited), one "
                  "thread on one core: ms per frame, median (min-max) of %d conversions, and pixels per "
                  "second at the median\n",
                  repeats) +
           table.Render();
}

// One size of the frame-rate part: both views opened at the same place,
// each checked for its path and its card on top, then timed in turns.
struct RateCell {
    std::string problem;   // empty when `c` holds the figures
    bool refused = false;  // a wrong picture or path, rather than no view
    Comparison c;          // reference: the shader path; contender: the GL 1.1 path
};

RateCell MeasureRateCell(Gl11Child& child, const FrameSize& size, const Options& options, std::string& gl) {
    if (size.width > GetSystemMetrics(SM_CXSCREEN) || size.height > GetSystemMetrics(SM_CYSCREEN))
        return {"screen too small", false, {}};
    const ViewLayout layout = {8, size.width, size.height, 0, 0, size.width, size.height};
    // The child's view first, so that its card is checked while no view of
    // the bench lies at that place; each view's check also finds any window
    // over it.
    const Gl11Child::Opened opened = child.Open(layout);
    if (!opened.problem.empty()) return {opened.problem, opened.refused, {}};
    gl = opened.gl;
    Contender shaders("noxd on the shader path", MakeNoxdPipeline);
    if (!shaders.Open(layout)) {
        child.Close();
        return {"the shader path's view could not be made", false, {}};
    }
    const std::vector<uint8_t> card = CardFrame(8, size.width, size.height);
    const int path = ViewPath(shaders);
    std::string refused = path == NOXD_PATH_SHADERS
                              ? CardOnTop(shaders, card)
                              : Format("the bench's own view draws on path %d, not the shader path", path);
    const Frames frames = MovingFrames(8, size.width, size.height, 4);
    RateCell cell;
    if (refused.empty())
        cell.c = CompareInTurns([&](int count) { return shaders.TimeBlock(frames, count); },
                                [&](int count) { return child.TimeBlock(count); }, FrameTurns(options, size));
    child.Close();
    if (!refused.empty()) return {refused, true, {}};
    if (!child.problem().empty()) return {child.problem(), false, {}};
    return cell;
}

double Fps(double ms) { return 1000.0 / ms; }

// Frames per second of a view on the GL 1.1 path against one on the shader
// path, I420 at the three sizes; the goal is on 640x480.
std::string FrameRatePart(const Options& options, Result& result) {
    const Goal goal = {Goal::AtLeast, 0.8};
    const std::string intro =
        Format("frame rate of a view on the GL 1.1 path (a child process whose Mesa offers GL 1.1 without "
               "shaders, its view checked for NOXD_STATS.path %d) against one on the shader path (this "
               "process, path %d): the same I420 frames of the moving pattern, a client area of the frame's "
               "size at the same place, blocks of frames drawn back to back in turns (ABBA), the view whose turn "
               "it is raised; median (min-max) of %d repeats, and fps at the median\n",
               NOXD_PATH_CPU, NOXD_PATH_SHADERS, options.repeats);
    const std::string caveat =
        "Mesa's llvmpipe told to look like GL 1.1: these figures say nothing about Windows' own software "
        "GL, which uploads, draws and swaps in its own way.\n";
    Gl11Child child;
    if (!child.problem().empty()) {
        result.met = false;
        return intro + "not measured: " + child.problem() + "\n";
    }
    Table table;
    table.AddRow({"size", "GL 1.1 fps / shader fps", "GL 1.1 path fps", "shader path fps",
                  "ms per frame, GL 1.1 / shaders", "goal"});
    std::string gl, refusals;
    bool goal_met = false;
    for (const FrameSize& size : kFrameSizes) {
        const bool goal_row = size.width == 640;
        const std::string name = Format("%dx%d", size.width, size.height);
        if (options.only_width && size.width != options.only_width) {
            table.AddRow({name, "-", "-", "-", "-", goal_row ? "not measured" : ""});
            continue;
        }
        const RateCell cell = MeasureRateCell(child, size, options, gl);
        if (cell.problem.empty() || cell.refused) result.cards_checked += 2;
        if (!cell.problem.empty()) {
            if (cell.refused) ++result.cards_wrong;
            refusals += Format("  %s: %s%s\n", name.c_str(), cell.refused ? "refused, " : "", cell.problem.c_str());
            table.AddRow({name, cell.refused ? "refused" : "not measured", "-", "-", "-",
                          goal_row ? GoalText(goal) + ": " + Verdict(false) : ""});
            continue;
        }
        const Comparison& c = cell.c;
        if (goal_row) goal_met = GoalMet(goal, c.speed);
        table.AddRow({name, FormatSummary(c.speed), Format("%.1f", Fps(c.contender_ms.median)),
                      Format("%.1f", Fps(c.reference_ms.median)),
                      Format("%.2f / %.2f", c.contender_ms.median, c.reference_ms.median),
                      goal_row ? GoalText(goal) + ": " + Verdict(goal_met) : ""});
    }
    result.met = result.met && goal_met;
    return intro + table.Render() + refusals + (gl.empty() ? "" : "the child's GL: " + gl + "\n") + caveat;
}

}  // namespace

Result GlFallbackPath(const Options& options) {
    Result result{11, "The GL 1.1 path", "", true, false, true};
    result.report = ConversionPart(options, result);
    result.report += FrameRatePart(options, result);
    return result;
}

}  // namespace bench
