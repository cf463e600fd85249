// What only noxd has: overlays over the video, and its start-up.
#include <algorithm>
#include <memory>

#include "benches.h"
#include "floor_pipeline.h"
#include "noxd_pipeline.h"
#include "overlay_calls.h"

namespace bench {

namespace {

constexpr int kOverlayFormat = 8;  // I420
constexpr int kOverlayWidth = 640, kOverlayHeight = 480;

// The overlays lie in the upper 60 % of the picture; the card is checked
// below them, and two overlays are checked by their colour.
constexpr float kOverlayBandBottom = 0.40f;

struct OverlayHandles {
    UINT_PTR handles[50] = {};
    int count = 0;
    UINT_PTR* Next() { return &handles[count++]; }
};

// The kinds of the fifty overlays, to add some of them only.
enum OverlayKinds : unsigned {
    kTexts = 1,
    kBitmaps = 2,
    kFilledRectangles = 4,
    kFilledCircles = 8,
    kRotatedEllipses = 16,
    kDashedLines = 32,
    kAllKinds = 63,
};

// 10 texts, 10 bitmaps of 64x64, 10 filled rectangles, 5 filled circles, 5
// rotated ellipses and 10 dashed lines, in rows over the top of the picture.
bool AddOverlays(const NoxdApi& api, NOXD_RENDERER r, unsigned kinds) {
    using P = OverlayPlaces;
    OverlayHandles h;
    const std::vector<uint32_t> bitmap = BenchBitmap();
    bool ok = true;
    for (int i = 0; i < 10; ++i) {
        wchar_t text[16];
        wsprintfW(text, L"Cam %02d", i + 1);
        if (kinds & kTexts)
            ok &= api.add_osd_text(r, h.Next(), text, 16, L"Arial", 700, P::Column(i), P::kTextTop,
                                   P::Column(i + 1), P::kTextBottom, 0, 0xFFFFFFFF, 0x00000000, 0xFF000000,
                                   1) == S_OK;
        if (kinds & kBitmaps)
            ok &= api.add_osd_bitmap_data32(r, h.Next(), bitmap.data(), kBitmapSide, kBitmapSide, P::Left(i),
                                            P::kBitmapTop, P::Right(i), P::kBitmapBottom, 0, 0, 0) == S_OK;
        if (kinds & kFilledRectangles)
            ok &= api.add_osd_rectangle(r, h.Next(), P::Left(i), P::kRectangleTop, P::Right(i),
                                        P::kRectangleBottom, 1, kRectangleColour, 0, 1) == S_OK;
        if (kinds & kDashedLines)
            ok &= api.add_osd_line(r, h.Next(), P::Left(i), P::kLineY, P::Right(i), P::kLineY, P::kLineWidth,
                                   kLineColour, 1) == S_OK;
    }
    for (int k = 0; k < 5; ++k) {
        if (kinds & kFilledCircles)
            ok &= api.add_osd_circle(r, h.Next(), P::CircleX(k), P::kCurveY, P::kCircleRadius, 1,
                                     kCircleColour, 0, 1) == S_OK;
        if (kinds & kRotatedEllipses)
            ok &= api.add_osd_circle2(r, h.Next(), P::EllipseX(k), P::kCurveY, P::kEllipseRadii[0],
                                      P::kEllipseRadii[1], k, P::kLineWidth, kEllipseColour, 0, 0) == S_OK;
    }
    return ok && (kinds != kAllKinds || h.count == 50);
}

// The colour the screen must show at a normalized video point of an overlay.
struct OverlayPoint {
    float x, y;
    uint32_t rgb;  // 0x00RRGGBB
};
const OverlayPoint kOverlayPoints[] = {
    {0.05f, 0.71f, 0xE0C020},  // first filled rectangle
    {0.05f, 0.84f, kBitmapPixel & 0xFFFFFF},  // first bitmap
};

bool AddOverlaysTo(Contender& contender, unsigned kinds = kAllKinds) {
    bool added = false;
    contender.worker().Run([&] {
        auto* noxd = static_cast<NoxdPipeline*>(contender.pipeline());
        added = AddOverlays(noxd->api(), noxd->renderer(), kinds);
    });
    return added;
}

std::string CheckOverlayPoints(const Screenshot& shot) {
    for (const OverlayPoint& p : kOverlayPoints) {
        const int x = static_cast<int>(p.x * shot.width), y = static_cast<int>((1 - p.y) * shot.height);
        const uint32_t got = shot.pixels[static_cast<size_t>(y) * shot.width + x] & 0xFFFFFF;
        for (int shift = 0; shift <= 16; shift += 8) {
            const int a = (got >> shift) & 0xFF, b = (p.rgb >> shift) & 0xFF;
            if (std::abs(a - b) > 12)
                return Format("overlay at (%d, %d) shows #%06x, want #%06x", x, y,
                              static_cast<unsigned>(got), static_cast<unsigned>(p.rgb));
        }
    }
    return "";
}

}  // namespace

namespace {

TurnPlan OverlayTurns(const Options& options) { return {options.repeats, options.quick ? 2 : 4, 25}; }

const ViewLayout kOverlaySpec = {kOverlayFormat, kOverlayWidth, kOverlayHeight, 0, 0, kOverlayWidth,
                               kOverlayHeight};

// The card below the overlays, and two overlays by their colour; empty when
// the picture is right.
std::string CheckOverlaidPicture(Contender& with, const std::vector<uint8_t>& card) {
    const ClientRegion below = {0, static_cast<int>((1 - kOverlayBandBottom) * kOverlayHeight),
                                kOverlayWidth, kOverlayHeight};
    std::string problem = CardProblem(with, with.ShowCard(card, below));
    if (!problem.empty()) return problem;
    Screenshot shot;
    with.worker().Run([&] { shot = CaptureClient(with.pipeline()->window()); });
    problem = CheckOverlayPoints(shot);
    return problem.empty() ? "" : with.name() + ": " + problem;
}

// One pipeline with the fifty overlays against the same without them, after
// both showed the right picture; the factor is the cost with over without.
struct OverlayFactor {
    std::string problem;  // why there is no figure
    bool refused = false; // a wrong picture, rather than no pipeline
    Comparison cost;
};

OverlayFactor MeasureOverlayFactor(Contender& with, Contender& without, bool add_to_noxd,
                                   const Options& options, int& cards_checked) {
    if (!with.Open(kOverlaySpec) || !without.Open(kOverlaySpec) || (add_to_noxd && !AddOverlaysTo(with)))
        return {"a pipeline or its overlays could not be made", false, {}};
    const std::vector<uint8_t> card = CardFrame(kOverlayFormat, kOverlayWidth, kOverlayHeight);
    std::string problem = CheckOverlaidPicture(with, card);
    if (problem.empty()) problem = CardProblem(without, without.ShowCard(card));
    cards_checked += 2;
    if (!problem.empty()) return {"refused: " + problem, true, {}};
    const Frames frames = MovingFrames(kOverlayFormat, kOverlayWidth, kOverlayHeight, 4);
    return {"", false, CompareInTurns(with, without, frames, OverlayTurns(options))};
}

std::string FactorRow(const char* what, const OverlayFactor& f) {
    if (!f.problem.empty()) return Format("  %s: %s\n", what, f.problem.c_str());
    return Format("  %s: %s; ms per frame %.2f with, %.2f without\n", what, FormatSummary(f.cost.speed).c_str(),
                  f.cost.reference_ms.median, f.cost.contender_ms.median);
}

// The floor drawing the overlays' GL calls in every frame, with and without
// one shared texture name for their images: what this GL charges for
// drawing them one by one, which noxd's layer of overlays saves.
std::string FloorOverlayFactors(const Options& options, Result& result) {
    std::string rows;
    for (const bool own_textures : {false, true}) {
        const unsigned extras = own_textures ? kOverlaysInOwnTextures : kOverlays;
        Contender with("floor with the overlays' calls", [extras] { return std::make_unique<FloorPipeline>(extras); });
        Contender without("floor", MakeFloorPipeline);
        const OverlayFactor f = MeasureOverlayFactor(with, without, false, options, result.cards_checked);
        if (f.refused) ++result.cards_wrong;
        rows += FactorRow(own_textures ? "floor drawing them every frame, each image in a texture of its own uploaded once"
                                       : "floor drawing them every frame, images uploaded into one shared texture name",
                          f);
    }
    return rows;
}

}  // namespace

Result Overlays(const Options& options) {
    Result result{5, "Overlays", "", true, false};
    Contender with("noxd with 50 overlays", MakeNoxdPipeline);
    Contender without("noxd", MakeNoxdPipeline);
    const OverlayFactor noxd = MeasureOverlayFactor(with, without, true, options, result.cards_checked);
    if (!noxd.problem.empty()) {
        result.measured = false;
        if (noxd.refused) ++result.cards_wrong;
        result.report = noxd.problem + "\n";
        return result;
    }
    const Goal goal = {Goal::AtMost, 1.15};
    result.met = GoalMet(goal, noxd.cost.speed);
    result.report = Format("640x480 I420: frame cost with 50 overlays / without, median (min-max) of %d "
                           "repeats: %s; ms per frame %.2f with, %.2f without\n"
                           "goal %s: %s\n",
                           options.repeats, FormatSummary(noxd.cost.speed).c_str(), noxd.cost.reference_ms.median,
                           noxd.cost.contender_ms.median, GoalText(goal).c_str(), Verdict(result.met).c_str()) +
                    "the same fifty overlays' GL calls made by the floor, cost with / without:\n" +
                    FloorOverlayFactors(options, result);
    return result;
}

namespace {

constexpr int kStartFormat = 8;
constexpr int kStartWidth = 640, kStartHeight = 480;

// Reads the window until it shows the card, for 2 s at the most: a start
// takes a tenth of that, and a window still black then never shows its
// frame by itself. `shown` becomes the time of the last read without it.
CardVerdict AwaitCard(HWND window, LONGLONG& shown) {
    const LONGLONG until = CounterNow() + CounterTicks(2.0);
    CardVerdict verdict;
    do {
        PumpMessages();
        verdict = CheckCard(CaptureClient(window), kStartFormat, kStartWidth, kStartHeight,
                            VisibleClientRegion(window));
        if (verdict.Shown()) break;
        Sleep(10);
        shown = CounterNow();
    } while (shown < until);
    return verdict;
}

enum class StartOutcome { Timed, FirstSwapLost, Failed };

// One start: `ms` from the renderer's creation to the card on the screen.
// The first swap of a new window now and then reaches the X server before
// Wine has put the window's GL surface on screen, and is lost there
// (docs/reliability.md): a redraw then shows the card, and that start has
// no start-up time. Failed: the card never showed (`problem` says what did).
StartOutcome TimeOneStart(const NoxdApi& api, bool own_window, const std::vector<uint8_t>& card, double& ms,
                          std::string& problem) {
    const ViewLayout layout = {kStartFormat, kStartWidth, kStartHeight, 0, 0, kStartWidth, kStartHeight};
    std::unique_ptr<BenchWindow> host;
    if (!own_window) host = std::make_unique<BenchWindow>(layout);
    NOXD_RENDERER renderer = nullptr;
    const LONGLONG start = CounterNow();
    if (api.create_renderer(host ? host->get() : nullptr, L"noxd start", kStartWidth, kStartHeight,
                            kStartFormat, kStartWidth, kStartHeight, &renderer) != S_OK) {
        problem = "noxd_create_renderer failed";
        return StartOutcome::Failed;
    }
    api.draw_frame(renderer, card.data());
    // The swap has put the frame on the screen when it returns; if the
    // screen does not show it yet, the time until it does counts too.
    LONGLONG shown = CounterNow();
    HWND window = api.get_hwnd(renderer);
    CardVerdict verdict = AwaitCard(window, shown);
    StartOutcome outcome = StartOutcome::Timed;
    if (!verdict.Shown()) {
        api.redraw(renderer);
        verdict = AwaitCard(window, shown);
        outcome = verdict.Shown() ? StartOutcome::FirstSwapLost : StartOutcome::Failed;
    }
    api.release_renderer(renderer);
    if (outcome == StartOutcome::Failed)
        problem = Format("the card did not show (%d of %d points wrong, first %s)", verdict.wrong,
                         verdict.compared, verdict.first_wrong.c_str());
    ms = CounterSeconds(shown - start) * 1000.0;
    return outcome;
}

// Starts of one build in one kind of window, on the calling thread.
struct Starts {
    std::vector<double> ms;    // of the timed ones
    int lost_first_swaps = 0;  // shown by a redraw, so not timed
};

// `count` starts, fewer when one failed (`problem` says why). Every start
// checks its card, the failed one too.
Starts TimeStarts(const NoxdApi& api, bool own_window, int count, std::string& problem, Result& result) {
    const std::vector<uint8_t> card = CardFrame(kStartFormat, kStartWidth, kStartHeight);
    Starts starts;
    for (int i = 0; i < count && problem.empty(); ++i) {
        double ms = 0;
        const StartOutcome outcome = TimeOneStart(api, own_window, card, ms, problem);
        ++result.cards_checked;
        if (outcome == StartOutcome::Timed) starts.ms.push_back(ms);
        if (outcome == StartOutcome::FirstSwapLost) ++starts.lost_first_swaps;
        if (outcome == StartOutcome::Failed) ++result.cards_wrong;
    }
    return starts;
}

// The note under a start-up table, empty when no first swap was lost.
std::string LostSwapsNote(int lost) {
    if (lost == 0) return "";
    return Format("%d start%s lost the first swap (Wine's, see docs/reliability.md) and showed the card only "
                  "after a redraw: not timed\n",
                  lost, lost == 1 ? "" : "s");
}

const char* WindowKind(bool own) { return own ? "own" : "host"; }

}  // namespace

Result StartUp(const Options& options) {
    Result result{6, "Start-up", "", true, true, false};
    const int starts = options.quick ? 10 : 50;
    Worker worker;
    Table table;
    table.AddRow({"window", "median ms", "worst ms", "best ms"});
    int lost = 0;
    for (const bool own : {true, false}) {
        Starts times;
        std::string problem;
        worker.Run([&] { times = TimeStarts(LinkedNoxd(), own, starts, problem, result); });
        lost += times.lost_first_swaps;
        if (!problem.empty()) {
            result.met = false;
            table.AddRow({WindowKind(own), "refused: " + problem, "", ""});
            continue;
        }
        const Summary s = Summarize(times.ms);
        table.AddRow({WindowKind(own), Format("%.1f", s.median), Format("%.1f", s.max), Format("%.1f", s.min)});
    }
    result.report = Format("time from noxd_create_renderer to the first frame (640x480 I420) on the "
                           "screen, %d starts each:\n", starts) +
                    table.Render() + LostSwapsNote(lost) + "no goal is set; figures for reference\n";
    return result;
}

namespace {

// Result 6's starts, the two builds in turns: blocks of starts of one build
// and then of the other (ABBA), the ratio of their block medians per repeat.
std::string StartUpAgainst(const Options& options, const NoxdApi& other, Result& result) {
    const TurnPlan plan = {options.repeats, options.quick ? 2 : 3, options.quick ? 5 : 10};
    Worker worker;
    Table table;
    table.AddRow({"window", "this build ms", "other build ms", "other / this"});
    int lost = 0;
    for (const bool own : {true, false}) {
        std::vector<double> speeds, ours_ms, theirs_ms;
        std::string problem;
        worker.Run([&] {
            // A build's first start in the process sets up what it keeps
            // (its window class, the GL driver's first context); not compared.
            TimeStarts(LinkedNoxd(), own, 1, problem, result);
            if (problem.empty()) TimeStarts(other, own, 1, problem, result);
            for (int r = 0; r < plan.repeats && problem.empty(); ++r) {
                std::vector<double> ours, theirs;
                for (int b = 0; b < 2 * plan.block_pairs && problem.empty(); ++b) {
                    const bool this_build = (b % 2 == 0) == FirstGoesFirst(b / 2);
                    const Starts starts = TimeStarts(this_build ? LinkedNoxd() : other, own,
                                                     plan.frames_per_block, problem, result);
                    lost += starts.lost_first_swaps;
                    (this_build ? ours : theirs).push_back(Median(starts.ms));
                }
                speeds.push_back(SpeedRatio(theirs, ours));
                ours_ms.push_back(Median(ours));
                theirs_ms.push_back(Median(theirs));
            }
        });
        if (!problem.empty()) {
            table.AddRow({WindowKind(own), "refused: " + problem, "", ""});
            continue;
        }
        table.AddRow({WindowKind(own), FormatSummary(Summarize(ours_ms), 1),
                      FormatSummary(Summarize(theirs_ms), 1), FormatSummary(Summarize(speeds))});
    }
    return Format("start-up: ms from noxd_create_renderer to the first 640x480 I420 frame on the screen, "
                  "blocks of %d starts of each build in turns, medians (min-max) of %d repeats (above 1: "
                  "this build starts faster)\n",
                  plan.frames_per_block, plan.repeats) +
           table.Render() + LostSwapsNote(lost);
}

// 640x480 I420 with the fifty overlays in both builds.
std::string OverlaysAgainst(const Options& options, const PipelineFactory& other_build, Result& result) {
    Contender theirs("other build with 50 overlays", other_build);
    Contender ours("noxd with 50 overlays", MakeNoxdPipeline);
    if (!theirs.Open(kOverlaySpec) || !ours.Open(kOverlaySpec) || !AddOverlaysTo(theirs) ||
        !AddOverlaysTo(ours))
        return "with overlays: a renderer or its overlays could not be made\n";
    const std::vector<uint8_t> card = CardFrame(kOverlayFormat, kOverlayWidth, kOverlayHeight);
    std::string problem = CheckOverlaidPicture(theirs, card);
    if (problem.empty()) problem = CheckOverlaidPicture(ours, card);
    result.cards_checked += 2;
    if (!problem.empty()) {
        ++result.cards_wrong;
        return "with overlays: refused, " + problem + "\n";
    }
    const Frames frames = MovingFrames(kOverlayFormat, kOverlayWidth, kOverlayHeight, 4);
    const Comparison c = CompareInTurns(theirs, ours, frames, OverlayTurns(options));
    return Format("640x480 I420 with 50 overlays: %s; ms per frame %.2f / %.2f\n", FormatSummary(c.speed).c_str(),
                  c.contender_ms.median, c.reference_ms.median);
}

}  // namespace

Result AgainstOtherBuild(const Options& options, const NoxdApi& other, const std::string& label,
                         const AgainstParts& parts) {
    const PipelineFactory other_build = [&other] { return std::make_unique<NoxdPipeline>(false, other); };
    Result result{9, "This noxd.dll against " + label, "", true, false, false};
    if (parts.frames) {
        const Result grid = CompareGrid(9, "", "other build", other_build, std::nullopt, options);
        result.cards_checked += grid.cards_checked;
        result.cards_wrong += grid.cards_wrong;
        result.report += grid.report;
    }
    if (parts.overlays) result.report += OverlaysAgainst(options, other_build, result);
    if (parts.idle) result.report += IdleAgainst(options, other, result);
    if (parts.start_up) result.report += StartUpAgainst(options, other, result);
    return result;
}

std::string OverlayCostByKind(const Options& options) {
    struct Kind {
        const char* what;
        unsigned kinds;
    };
    const Kind kinds[] = {{"10 texts", kTexts},
                          {"10 bitmaps 64x64", kBitmaps},
                          {"10 filled rectangles", kFilledRectangles},
                          {"5 filled circles", kFilledCircles},
                          {"5 rotated ellipses", kRotatedEllipses},
                          {"10 dashed lines", kDashedLines}};
    Table table;
    table.AddRow({"640x480 I420 with", "cost / without, median (min-max)", "added ms per frame"});
    const Frames frames = MovingFrames(kOverlayFormat, kOverlayWidth, kOverlayHeight, 4);
    for (const Kind& k : kinds) {
        Contender with(k.what, MakeNoxdPipeline);
        Contender without("noxd", MakeNoxdPipeline);
        if (!with.Open(kOverlaySpec) || !without.Open(kOverlaySpec) || !AddOverlaysTo(with, k.kinds)) {
            table.AddRow({k.what, "not made", ""});
            continue;
        }
        const Comparison c = CompareInTurns(with, without, frames, OverlayTurns(options));
        table.AddRow({k.what, FormatSummary(c.speed),
                      Format("%+.2f", c.reference_ms.median - c.contender_ms.median)});
    }
    return table.Render();
}

}  // namespace bench
