#include "benches.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

#include "floor_pipeline.h"
#include "noxd_pipeline.h"

namespace bench {

const FormatInfo kFormats[6] = {{8, "I420"},   {kFormatNv12, "NV12"}, {9, "UYVY"},
                                {12, "YUY2"}, {11, "BGR24"},         {10, "BGR32"}};
const FrameSize kFrameSizes[3] = {{640, 480}, {1280, 720}, {1920, 1080}};

// Blocks of 25 frames of 640x480 and as many frames of a larger size as
// draw about as many pixels, at least 5: every cell then takes about as
// long, and the whole grid stays within a few minutes on a loaded machine.
TurnPlan FrameTurns(const Options& options, const FrameSize& size) {
    const int pixels = size.width * size.height;
    const int frames = std::max(5, (25 * 640 * 480 + pixels / 2) / pixels);
    return {options.repeats, options.quick ? 2 : 3, frames};
}

namespace {

std::string SizeName(const FrameSize& s) { return Format("%dx%d", s.width, s.height); }

// The contender's bytes of a frame of the reference's.
using FrameLayout = std::vector<uint8_t> (*)(const std::vector<uint8_t>& frame, int format, int width,
                                             int height);

// A grid's two sides, cell by cell: the contender is given the reference's
// frames through `lay_out` (none: the same bytes).
struct GridSides {
    std::string reference_name;
    PipelineFactory reference;
    std::string contender_name;
    PipelineFactory contender;
    FrameLayout lay_out;
};

Frames LaidOut(const GridSides& sides, const Frames& frames, const ViewLayout& layout) {
    if (!sides.lay_out) return frames;
    Frames out;
    for (const auto& frame : frames)
        out.push_back(sides.lay_out(frame, layout.format, layout.frame_width, layout.frame_height));
    return out;
}

// One cell: both sides opened on `layout`, their cards checked, then timed
// in turns. Empty `problem` when `c` holds the figures.
struct Cell {
    std::string problem;
    bool refused = false;
    Comparison c;
};

Cell MeasureCell(const GridSides& sides, const ViewLayout& layout, const Options& options) {
    const FrameSize size = {layout.frame_width, layout.frame_height};
    // GL output of a window wider or taller than the screen never reaches
    // the screen here, so no picture could be checked.
    if (size.width > GetSystemMetrics(SM_CXSCREEN) || size.height > GetSystemMetrics(SM_CYSCREEN))
        return {"screen too small", false, {}};
    Contender theirs(sides.reference_name, sides.reference);
    Contender ours(sides.contender_name, sides.contender);
    if (!theirs.Open(layout) || !ours.Open(layout)) return {"no pipeline", false, {}};
    const Frames cards = {CardFrame(layout.format, size.width, size.height)};
    const Frames frames = MovingFrames(layout.format, size.width, size.height, 4);
    std::string refused = CardProblem(ours, ours.ShowCard(LaidOut(sides, cards, layout)[0]));
    if (refused.empty()) refused = CardProblem(theirs, theirs.ShowCard(cards[0]));
    if (!refused.empty()) return {refused, true, {}};
    return {"", false,
            CompareInTurns(theirs, ours, frames, LaidOut(sides, frames, layout), FrameTurns(options, size))};
}

// The contender against the reference in every cell of `formats` x sizes;
// the goal, if any, is on the contender's speed relative to the reference.
Result MeasureGrid(int number, const std::string& title, const GridSides& sides,
                   const std::vector<FormatInfo>& formats, const std::optional<Goal>& goal,
                   const Options& options) {
    Result result{number, title, "", true, true};
    Table speeds, costs;
    std::vector<std::string> header = {"format"};
    for (const FrameSize& size : kFrameSizes) header.push_back(SizeName(size));
    speeds.AddRow(header);
    costs.AddRow(header);
    std::string refusals;
    for (const FormatInfo& format : formats) {
        std::vector<std::string> speed_row = {format.name}, cost_row = {format.name};
        for (const FrameSize& size : kFrameSizes) {
            if (options.only_width && size.width != options.only_width) {
                speed_row.push_back("-");
                cost_row.push_back("-");
                continue;
            }
            const ViewLayout layout = {format.code, size.width, size.height, 0, 0, size.width, size.height};
            const Cell cell = MeasureCell(sides, layout, options);
            if (cell.problem.empty() || cell.refused) result.cards_checked += 2;
            if (cell.refused) {
                ++result.cards_wrong;
                refusals += "  " + std::string(format.name) + " " + SizeName(size) + ": refused, " +
                            cell.problem + "\n";
            }
            if (!cell.problem.empty()) {
                speed_row.push_back(cell.refused ? "refused" : cell.problem);
                cost_row.push_back("-");
                result.met = false;
                continue;
            }
            std::string text = FormatSummary(cell.c.speed);
            if (goal) {
                const bool met = GoalMet(*goal, cell.c.speed);
                result.met = result.met && met;
                text += met ? " met" : " NOT met";
            }
            speed_row.push_back(text);
            cost_row.push_back(Format("%.2f / %.2f", cell.c.contender_ms.median, cell.c.reference_ms.median));
        }
        speeds.AddRow(speed_row);
        costs.AddRow(cost_row);
    }
    const std::string goal_text = goal ? "; goal " + GoalText(*goal) + " in every cell" : "";
    const char *ours = sides.contender_name.c_str(), *theirs = sides.reference_name.c_str();
    result.report = Format("%s frame rate / %s frame rate, median (min-max) of %d repeats%s\n", ours, theirs,
                           options.repeats, goal_text.c_str()) +
                    speeds.Render() + Format("ms per frame, %s / %s (medians):\n", ours, theirs) +
                    costs.Render() + refusals;
    return result;
}

std::vector<uint8_t> PaddedBytes(const std::vector<uint8_t>& frame, int format, int width, int height) {
    return PadRows(frame, format, width, height).bytes;
}

}  // namespace

Result CompareGrid(int number, const std::string& title, const std::string& reference_name,
                   PipelineFactory reference, const std::optional<Goal>& goal, const Options& options) {
    const GridSides sides = {reference_name, std::move(reference), "noxd", MakeNoxdPipeline, nullptr};
    return MeasureGrid(number, title, sides, {std::begin(kFormats), std::end(kFormats)}, goal, options);
}

Result PaddedRows(const Options& options) {
    const std::vector<FormatInfo> planar = {{8, "I420"}, {kFormatNv12, "NV12"}};
    const GridSides sides = {"packed (noxd_draw_frame)", MakeNoxdPipeline, "padded rows (noxd_draw_planes)",
                             MakeNoxdPaddedPipeline, PaddedBytes};
    Result result = MeasureGrid(10, "Padded rows", sides, planar, Goal{Goal::AtLeast, 0.97}, options);
    result.report = "the same frames with every row at its width rounded up to 64 bytes plus 64 (640 bytes: "
                    "704), plane by plane, against packed:\n" +
                    result.report;
    return result;
}

Result FrameCostVsFloor(const Options& options) {
    return CompareGrid(1, "Frame cost vs the floor", "floor", MakeFloorPipeline,
                       Goal{Goal::AtLeast, 0.97}, options);
}

Result ExplainGap(const Options& options) {
    Result result{8, "Where the time goes", "", true, true, false};
    struct Variant {
        const char* what;
        unsigned extras;
    };
    const Variant variants[] = {
        {"texture re-specified before its sub-upload", kRespecify},
        {"window cleared", kClear},
        {"textures bound in every frame", kBindPerFrame},
        {"coordinates for three units", kAllUnitCoords},
        {"program made current and left (BGR24: through a program)", kProgramSwitch},
        {"all of noxd's pieces (BGR24: no program)", kNoxdSequence},
    };
    // I420 at both ends of the sizes, and the format whose every load is a
    // conversion (3-byte pixels into 4-byte texels).
    struct Column {
        int format;
        FrameSize size;
    };
    const Column columns[3] = {{8, kFrameSizes[0]}, {8, kFrameSizes[2]}, {11, kFrameSizes[0]}};
    Table table;
    table.AddRow({"floor + ...", "640x480 I420", "1920x1080 I420", "640x480 BGR24"});
    std::vector<std::vector<std::string>> rows;
    for (const Variant& v : variants) rows.push_back({v.what});
    for (const Column& column : columns) {
        const FrameSize& size = column.size;
        const ViewLayout layout = {column.format, size.width, size.height, 0, 0, size.width, size.height};
        const std::vector<uint8_t> card = CardFrame(column.format, size.width, size.height);
        const Frames frames = MovingFrames(column.format, size.width, size.height, 4);
        for (size_t i = 0; i < std::size(variants); ++i) {
            const unsigned extras = variants[i].extras;
            Contender reference("floor", MakeFloorPipeline);
            Contender variant("floor + piece", [extras] { return std::make_unique<FloorPipeline>(extras); });
            if (!reference.Open(layout) || !variant.Open(layout)) {
                rows[i].push_back("no pipeline");
                continue;
            }
            std::string refused = CardProblem(reference, reference.ShowCard(card));
            if (refused.empty()) refused = CardProblem(variant, variant.ShowCard(card));
            result.cards_checked += 2;
            if (!refused.empty()) {
                ++result.cards_wrong;
                rows[i].push_back("refused: " + refused);
                continue;
            }
            const Comparison c = CompareInTurns(reference, variant, frames, FrameTurns(options, size));
            rows[i].push_back(Format("%s, %+.2f ms", FormatSummary(c.speed).c_str(),
                                     c.contender_ms.median - c.reference_ms.median));
        }
    }
    for (auto& row : rows) table.AddRow(row);
    result.report = "speed of the floor with one piece of noxd's frame sequence added, relative to the "
                    "plain floor (median (min-max)), and the added ms per frame:\n" +
                    table.Render() + "Overlays by kind, noxd with them against noxd without:\n" +
                    OverlayCostByKind(options);
    // Every cell of result 1 again, against a floor that makes noxd's calls:
    // what is left there is noxd's own.
    const Result same_calls = CompareGrid(
        8, "", "floor making noxd's calls", [] { return std::make_unique<FloorPipeline>(kNoxdSequence); },
        std::nullopt, options);
    result.cards_checked += same_calls.cards_checked;
    result.cards_wrong += same_calls.cards_wrong;
    result.report += same_calls.report;
    return result;
}

Result PictureChecks(const std::vector<Result>& others) {
    Result result{7, "Every bench checks its picture", "", true, true};
    Table table;
    table.AddRow({"result", "cards checked", "wrong pictures (figures refused)"});
    for (const Result& r : others) {
        if (!r.measured) continue;
        table.AddRow({Format("%d. %s", r.number, r.title.c_str()), Format("%d", r.cards_checked),
                      Format("%d", r.cards_wrong)});
        result.cards_checked += r.cards_checked;
        result.cards_wrong += r.cards_wrong;
    }
    result.met = result.cards_checked > 0 && result.cards_wrong == 0;
    result.report = "Before timing, each contender shows the test card; it is read back off the "
                    "screen through GDI and compared point by point.\n" +
                    table.Render() +
                    Format("goal: every contender shows the card: %s\n", Verdict(result.met).c_str());
    return result;
}

void PrintResult(const Result& result) {
    std::printf("\n%d. %s\n%s", result.number, result.title.c_str(), result.report.c_str());
    if (result.measured && result.has_goal) std::printf("=> goal %s\n", Verdict(result.met).c_str());
    std::fflush(stdout);
}

void PrintSummary(const std::vector<Result>& results) {
    std::printf("\nSummary\n");
    for (const Result& r : results)
        std::printf("  %2d. %-34s %s\n", r.number, r.title.c_str(),
                    !r.measured ? "not measured" : r.has_goal ? Verdict(r.met).c_str() : "no goal");
    std::fflush(stdout);
}

}  // namespace bench
