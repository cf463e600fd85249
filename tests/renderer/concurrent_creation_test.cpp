// A client opens its whole layout at once: views created on many threads in
// the same instant, on a busy machine, and after a creation that failed.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/debug_print.h"
#include "support/frames.h"
#include "support/renderer_fixture.h"
#include "support/rounds.h"

using namespace noxd_test;

namespace {

constexpr int kViews = 16;
const int kRounds = noxd_test::Rounds(20, 20);
constexpr int kClient = 96;  // client size of every view; the grid fits the test screen

// Lets a fixed number of threads pass together.
class Barrier {
public:
    explicit Barrier(int count) : count_(count) {}
    void ArriveAndWait() {
        std::unique_lock<std::mutex> hold(mutex_);
        const int generation = generation_;
        if (++arrived_ == count_) {
            arrived_ = 0;
            ++generation_;
            woken_.notify_all();
            return;
        }
        woken_.wait(hold, [&] { return generation != generation_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    const int count_;
    int arrived_ = 0;
    int generation_ = 0;
};

// A colour of its own for every view, far enough from its neighbours.
Bgr ViewColour(int view) {
    return {static_cast<uint8_t>(30 + view * 13), static_cast<uint8_t>(220 - view * 11),
            static_cast<uint8_t>(view % 2 ? 200 : 60)};
}

POINT GridPosition(int view) { return {40 + (view % 4) * 150, 40 + (view / 4) * 150}; }

// One view's life in a round: create when all are ready, keep showing its
// colour while the main thread reads every window, release.
struct ViewResult {
    HRESULT created = E_PENDING;
    HRESULT drawn = E_PENDING;
    HRESULT released = E_PENDING;
    HWND window = nullptr;
};

struct Round {
    Barrier start{kViews};
    Barrier shown{kViews + 1};
    std::atomic<bool> read{false};
    std::vector<ViewResult> results = std::vector<ViewResult>(kViews);
};

void RunView(int view, bool host_window, Round& round) {
    ViewResult& result = round.results[view];
    const POINT at = GridPosition(view);
    HWND host = host_window ? CreateHostWindow(at.x, at.y, kClient, kClient) : nullptr;
    NOXD_RENDERER renderer = nullptr;
    round.start.ArriveAndWait();
    result.created = noxd_create_renderer(host, L"view", kClient, kClient, 10, kClient, kClient,
                                          &renderer);
    const Bgr colour = ViewColour(view);
    const std::vector<uint8_t> frame =
        BgrFrame(10, kClient, kClient, [&](int, int) { return colour; });
    if (renderer) {
        result.window = noxd_get_hwnd(renderer);
        if (!host_window)
            SetWindowPos(result.window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        result.drawn = noxd_draw_frame(renderer, frame.data());
    }
    round.shown.ArriveAndWait();
    // Frames keep coming, as from a camera, until every window has been read.
    while (renderer && !round.read) {
        PumpMessages();
        noxd_draw_frame(renderer, frame.data());
        Sleep(20);
    }
    result.released = renderer ? noxd_release_renderer(renderer) : S_FALSE;
    if (host) DestroyWindow(host);
}

// What the window shows once the display has caught up with its frames.
Rgb ShownColour(HWND window, Rgb want) {
    Rgb got = {};
    for (int i = 0; i < 100; ++i) {
        got = Capture::OfClient(window).At(kClient / 2, kClient / 2);
        if (Near(got, want, 2)) break;
        Sleep(50);
    }
    return got;
}

// Runs rounds of kViews views created at the same instant and checks that
// every one came up and showed its own picture.
void CreateAllAtOnce(bool host_windows) {
    for (int r = 0; r < kRounds; ++r) {
        Round round;
        std::vector<std::thread> threads;
        for (int v = 0; v < kViews; ++v)
            threads.emplace_back(RunView, v, host_windows, std::ref(round));
        round.shown.ArriveAndWait();
        for (int v = 0; v < kViews; ++v) {
            SCOPED_TRACE("round " + std::to_string(r) + " view " + std::to_string(v));
            const ViewResult& result = round.results[v];
            EXPECT_EQ(result.created, S_OK);
            EXPECT_EQ(result.drawn, S_OK);
            if (!result.window) continue;
            const Bgr c = ViewColour(v);
            EXPECT_TRUE(Near(ShownColour(result.window, {c.r, c.g, c.b}), {c.r, c.g, c.b}, 2));
        }
        round.read = true;
        for (std::thread& t : threads) t.join();
        for (int v = 0; v < kViews; ++v)
            EXPECT_EQ(round.results[v].released, S_OK) << "view " << v;
        if (::testing::Test::HasFailure()) return;
    }
    // And the process is left sound for the next view.
    ScopedRenderer after(12, 64, 48, 64, 48);
    EXPECT_EQ(after.status(), S_OK);
}

// Threads that keep both cores busy for as long as they live.
class BusyThreads {
public:
    explicit BusyThreads(int count) {
        for (int i = 0; i < count; ++i)
            threads_.emplace_back([this] {
                volatile unsigned spin = 0;
                while (!stop_) ++spin;
            });
    }
    ~BusyThreads() {
        stop_ = true;
        for (std::thread& t : threads_) t.join();
    }

private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

}  // namespace

TEST(ConcurrentCreationTest, OwnWindowsCreatedInTheSameInstantAllComeUp) { CreateAllAtOnce(false); }

TEST(ConcurrentCreationTest, HostWindowsTakenOverInTheSameInstantAllComeUp) {
    CreateAllAtOnce(true);
}

TEST(ConcurrentCreationTest, CreationOnABusyMachineSucceeds) {
    BusyThreads load(4);
    for (int i = 0; i < 3; ++i) {
        ScopedRenderer view(8, 1280, 720, 1280, 720);
        EXPECT_EQ(view.status(), S_OK) << "creation " << i;
    }
}

TEST(ConcurrentCreationTest, FailedGlSetupIsReportedAndDoesNotMarkTheProcess) {
    // A window that is gone by the time the renderer binds GL to it.
    HWND gone = CreateHostWindow(100, 100, 64, 64);
    ASSERT_TRUE(gone);
    DestroyWindow(gone);

    std::vector<std::string> debug_lines;
    {
        DebugPrintCatcher catcher;
        NOXD_RENDERER failed = reinterpret_cast<NOXD_RENDERER>(1);
        EXPECT_EQ(noxd_create_renderer(gone, L"x", 0, 0, 12, 64, 48, &failed), NOXD_E_NO_SHADERS);
        EXPECT_EQ(failed, nullptr);
        debug_lines = catcher.lines();
    }
    ASSERT_EQ(debug_lines.size(), 1u);
    EXPECT_NE(debug_lines[0].find("noxd_create_renderer: GetDC failed (error "), std::string::npos)
        << debug_lines[0];
    EXPECT_EQ(debug_lines[0].rfind("MYDBG 0x", 0), 0u) << debug_lines[0];

    // The next creation on a sound window works and draws.
    HWND host = CreateHostWindow(100, 100, 64, 48);
    {
        ScopedRenderer view(host, 10, 64, 48);
        ASSERT_EQ(view.status(), S_OK);
        const Bgr colour = {40, 160, 220};
        const Capture shot =
            view.DrawAndCapture(BgrFrame(10, 64, 48, [&](int, int) { return colour; }));
        EXPECT_TRUE(Near(shot.At(32, 24), {colour.r, colour.g, colour.b}, 2));
    }
    DestroyWindow(host);
}
