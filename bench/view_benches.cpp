// Many views in one process: idle renderers and the wall.
#include <algorithm>
#include <memory>

#include "benches.h"
#include "floor_pipeline.h"
#include "noxd_pipeline.h"

namespace bench {

namespace {

double Seconds(FILETIME t) {
    return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
}

double ProcessCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Seconds(kernel) + Seconds(user);
}

// CPU time the thread has used, or 0 when it cannot be read.
double ThreadCpuSeconds(DWORD thread_id) {
    const noxd::UniqueKernelHandle thread(OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, thread_id));
    FILETIME created, exited, kernel, user;
    if (!thread || !GetThreadTimes(thread.get(), &created, &exited, &kernel, &user)) return 0;
    return Seconds(kernel) + Seconds(user);
}

double ThreadsCpuSeconds(const std::vector<DWORD>& threads) {
    double sum = 0;
    for (DWORD id : threads) sum += ThreadCpuSeconds(id);
    return sum;
}

// Percent of one core. Wine's reading of a process's CPU time can fall by a
// hair from one reading to the next (under 0.001 % of a core over 10 s
// here); no process uses less than none, so a fall, like -0, counts as 0.
double PercentOfCore(double cpu_seconds, double seconds) {
    return std::max(0.0, cpu_seconds / seconds * 100.0);
}

PipelineFactory OwnWindowNoxd(const NoxdApi& api) {
    return [&api] { return std::make_unique<NoxdPipeline>(true, api); };
}

// The screen split into `columns` x `rows` tiles; tile `i` row by row.
ViewLayout TileLayout(int format, int frame_width, int frame_height, int i, int columns, int rows) {
    const int w = GetSystemMetrics(SM_CXSCREEN) / columns, h = GetSystemMetrics(SM_CYSCREEN) / rows;
    return {format, frame_width, frame_height, (i % columns) * w, (i / columns) * h, w, h};
}

constexpr int kIdleViews = 16;
// Idle CPU readings below a tenth of the idle goal's bound (% of one core)
// are alike for the goal, so builds compared in turns are compared above it.
constexpr double kIdleResolution = 0.05;

double IdleSeconds(const Options& options) { return options.quick ? 3.0 : 10.0; }

using Views = std::vector<std::unique_ptr<Contender>>;

// Sixteen renderers of one build, each created on its own thread with a
// window of its own on a tile of the screen, each having shown the card once
// and then given no frames: the render thread that pumps an own window's
// messages is what could spin. Empty when they are ready, else why not; a
// wrong picture is counted in `result`.
std::string OpenIdleViews(const NoxdApi& api, const std::string& name, Views& views, Result& result) {
    for (int i = 0; i < kIdleViews; ++i) {
        views.push_back(std::make_unique<Contender>(name, OwnWindowNoxd(api)));
        const ViewLayout tile = TileLayout(8, 320, 240, i, 4, 4);
        ViewLayout layout = tile;
        layout.client_width = 320;
        layout.client_height = 240;
        Contender& view = *views.back();
        if (!view.Open(layout)) return "a renderer could not be created";
        view.worker().Run([&] {
            SetWindowPos(view.pipeline()->window(), HWND_TOP, tile.x, tile.y, 0, 0, SWP_NOSIZE);
        });
        const CardVerdict verdict = view.ShowCard(CardFrame(8, 320, 240));
        ++result.cards_checked;
        if (!verdict.Shown()) {
            ++result.cards_wrong;
            return "refused: " + CardProblem(view, verdict);
        }
    }
    Sleep(1000);  // let the windows settle
    return "";
}

double ProcessCpuPercentOver(double seconds) {
    const double before = ProcessCpuSeconds();
    Sleep(static_cast<DWORD>(seconds * 1000));
    return PercentOfCore(ProcessCpuSeconds() - before, seconds);
}

}  // namespace

Result IdleRenderers(const Options& options) {
    Result result{3, "Idle", "", true, false};
    Views views;
    const std::string problem = OpenIdleViews(LinkedNoxd(), "noxd", views, result);
    if (!problem.empty()) {
        // A wrong picture is a finding (a refusal); a renderer not made is none.
        result.measured = result.cards_wrong > 0;
        result.report = problem + "\n";
        return result;
    }
    std::vector<DWORD> render_threads;
    for (auto& view : views) render_threads.push_back(GetWindowThreadProcessId(view->pipeline()->window(), nullptr));
    const double seconds = IdleSeconds(options);
    std::vector<double> percents, render_percents;
    for (int r = 0; r < options.repeats; ++r) {
        const double render_before = ThreadsCpuSeconds(render_threads);
        percents.push_back(ProcessCpuPercentOver(seconds));
        render_percents.push_back(PercentOfCore(ThreadsCpuSeconds(render_threads) - render_before, seconds));
    }
    const Summary s = Summarize(percents);
    const Goal goal = {Goal::AtMost, 0.5};
    result.met = GoalMet(goal, s);
    result.report = Format("%d renderers, each created on its own thread, no frames: process CPU in %% "
                           "of one core over %.0f s, median (min-max) of %d repeats\n"
                           "  %s  goal %s: %s\n"
                           "  of which the %d render threads: %s\n",
                           kIdleViews, seconds, options.repeats, FormatSummary(s, 3).c_str(),
                           GoalText(goal).c_str(), Verdict(result.met).c_str(), kIdleViews,
                           FormatSummary(Summarize(render_percents), 3).c_str());
    return result;
}

// Result 3's sixteen views of one build at a time, the builds in turns (the
// order swapped every repeat), each turn its own views and its own reading.
std::string IdleAgainst(const Options& options, const NoxdApi& other, Result& result) {
    const double seconds = IdleSeconds(options);
    std::vector<double> ours, theirs, ratios;
    for (int r = 0; r < options.repeats; ++r) {
        double percent[2] = {};  // this build, the other
        for (int turn = 0; turn < 2; ++turn) {
            const bool this_build = (turn == 0) == FirstGoesFirst(r);
            Views views;
            const std::string problem =
                OpenIdleViews(this_build ? LinkedNoxd() : other, this_build ? "noxd" : "other build", views, result);
            if (!problem.empty()) return "idle: " + problem + "\n";
            percent[this_build ? 0 : 1] = ProcessCpuPercentOver(seconds);
        }
        ours.push_back(percent[0]);
        theirs.push_back(percent[1]);
        ratios.push_back(CostRatioAtResolution(percent[1], percent[0], kIdleResolution));
    }
    Table table;
    table.AddRow({"", "this build", "other build", "other / this"});
    table.AddRow({"", FormatSummary(Summarize(ours)), FormatSummary(Summarize(theirs)),
                  FormatSummary(Summarize(ratios))});
    return Format("idle: %d renderers, no frames, process CPU in %% of one core over %.0f s, one build "
                  "at a time in turns, median (min-max) of %d repeats; the ratio counts readings below "
                  "%.2f %% as %.2f %% (above 1: this build is leaner)\n",
                  kIdleViews, seconds, options.repeats, kIdleResolution, kIdleResolution) +
           table.Render();
}

namespace {

constexpr int kWallFormat = 12;  // YUY2
constexpr int kWallWidth = 640, kWallHeight = 480;
constexpr int kWallColumns = 8, kWallLimit = kWallColumns * kWallColumns;
constexpr double kWallRate = 25.0, kWallKeptUp = 24.0;

// Views of one kind on the tiles of the wall, made as trials need them and
// kept: views without frames cost nothing.
class WallPool {
public:
    WallPool(std::string name, PipelineFactory factory) : name_(std::move(name)), factory_(factory) {}

    // Runs `views` views at the feed rate; the slowest view's rate, or -1
    // when a view could not be made, or -2 (and `problem`) for a wrong picture.
    double Trial(int views, const Frames& frames, const std::vector<uint8_t>& card,
                 const Options& options, std::string& problem, int& cards_checked) {
        while (static_cast<int>(views_.size()) < views) {
            auto view = std::make_unique<Contender>(name_, factory_);
            const ViewLayout layout = TileLayout(kWallFormat, kWallWidth, kWallHeight,
                                           static_cast<int>(views_.size()), kWallColumns, kWallColumns);
            if (!view->Open(layout)) return -1;
            views_.push_back(std::move(view));
        }
        // Raises this kind's views above the other kind's on the same tiles.
        for (int i = 0; i < views; ++i) {
            const CardVerdict verdict = views_[i]->ShowCard(card);
            ++cards_checked;
            if (!verdict.Shown()) {
                problem = CardProblem(*views_[i], verdict);
                return -2;
            }
        }
        const double warm_up = options.quick ? 0.5 : 1.0, measure = options.quick ? 1.5 : 2.5;
        const LONGLONG start = CounterNow() + CounterTicks(0.1);
        for (int i = 0; i < views; ++i)
            views_[i]->PostPacedRun(frames, start, kWallRate, warm_up, measure);
        double slowest = kWallRate * 10;
        for (int i = 0; i < views; ++i) slowest = std::min(slowest, views_[i]->PacedRate());
        return slowest;
    }

private:
    std::string name_;
    PipelineFactory factory_;
    std::vector<std::unique_ptr<Contender>> views_;
};

}  // namespace

Result Wall(const Options& options) {
    Result result{4, "Wall", "", true, false};
    const Frames frames = MovingFrames(kWallFormat, kWallWidth, kWallHeight, 4);
    const std::vector<uint8_t> card = CardFrame(kWallFormat, kWallWidth, kWallHeight);
    WallPool pools[2] = {{"noxd", MakeNoxdPipeline}, {"floor", MakeFloorPipeline}};
    std::vector<double> counts[2];
    std::string trials;
    for (int r = 0; r < options.repeats; ++r) {
        // The first repeat searches from 4 views; the others start from what it found.
        CapacitySearch search[2] = {
            r == 0 ? CapacitySearch(4, kWallLimit) : CapacitySearch(static_cast<int>(counts[0][0]), kWallLimit, 1.25),
            r == 0 ? CapacitySearch(4, kWallLimit) : CapacitySearch(static_cast<int>(counts[1][0]), kWallLimit, 1.25)};
        trials += Format("  repeat %d:", r + 1);
        // The two kinds take turns, one trial each.
        while (!search[0].Done() || !search[1].Done()) {
            for (int k = 0; k < 2; ++k) {
                if (search[k].Done()) continue;
                const int n = search[k].Next();
                std::string problem;
                const double slowest = pools[k].Trial(n, frames, card, options, problem, result.cards_checked);
                if (slowest == -2) {
                    ++result.cards_wrong;
                    result.report = "refused: " + problem + "\n";
                    return result;
                }
                trials += Format(" %s %d:%.1f", k == 0 ? "noxd" : "floor", n, slowest);
                search[k].Record(n, slowest >= kWallKeptUp);
            }
        }
        trials += "\n";
        for (int k = 0; k < 2; ++k) counts[k].push_back(search[k].Result());
    }
    const Summary ours = Summarize(counts[0]), floor = Summarize(counts[1]);
    std::vector<double> ratios;
    for (size_t i = 0; i < counts[0].size(); ++i)
        ratios.push_back(counts[1][i] > 0 ? counts[0][i] / counts[1][i] : 0.0);
    const Summary ratio = Summarize(ratios);
    const Goal goal = {Goal::AtLeast, 0.95};
    result.met = GoalMet(goal, ratio);
    Table table;
    table.AddRow({"", "views kept at >= 24 fps", "median (min-max)"});
    table.AddRow({"", "noxd", FormatSummary(ours, 0)});
    table.AddRow({"", "floor", FormatSummary(floor, 0)});
    table.AddRow({"", "noxd / floor", FormatSummary(ratio)});
    result.report =
        Format("%dx%d YUY2 views on their own threads, each fed %.0f frames per second, on tiles of "
               "1/%d of the screen (%dx%d); the largest number of views of which every one keeps "
               ">= %.0f fps (searched up to %d), %d repeats\n",
               kWallWidth, kWallHeight, kWallRate, kWallColumns * kWallColumns,
               GetSystemMetrics(SM_CXSCREEN) / kWallColumns, GetSystemMetrics(SM_CYSCREEN) / kWallColumns,
               kWallKeptUp, kWallLimit, options.repeats) +
        table.Render() + "trials (kind views:slowest fps):\n" + trials +
        Format("goal noxd / floor %s: %s\n", GoalText(goal).c_str(), Verdict(result.met).c_str());
    return result;
}

}  // namespace bench
