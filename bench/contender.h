// A pipeline on its own worker thread, and what the benchmarks do with it:
// show the test card and check it, time blocks of frames, draw at a pace.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "pipeline.h"
#include "test_card.h"
#include "worker.h"

namespace bench {

using Frames = std::vector<std::vector<uint8_t>>;

class Contender {
public:
    Contender(std::string name, PipelineFactory factory);
    ~Contender();  // closes the pipeline on its thread
    Contender(const Contender&) = delete;
    Contender& operator=(const Contender&) = delete;

    const std::string& name() const { return name_; }
    Worker& worker() { return worker_; }
    // The pipeline, for calls made on the worker thread (through Run).
    Pipeline* pipeline() { return pipeline_.get(); }

    bool Open(const ViewLayout& layout);
    // Raises the window, shows the card and reads the screen back; checks
    // the part of the client area on the screen, or only `region` of it.
    CardVerdict ShowCard(const std::vector<uint8_t>& card);
    CardVerdict ShowCard(const std::vector<uint8_t>& card, const ClientRegion& region);
    // Raises the window, draws one frame untimed, then `count` frames
    // cycling through `frames`; the wall time per frame in milliseconds.
    double TimeBlock(const Frames& frames, int count);

    // Starts drawing frames at `rate` per second from the performance
    // counter reading `start` on; frames due while one is late are drawn at
    // once. Counts the frames finished between `start` + warm_up and the end.
    void PostPacedRun(const Frames& frames, LONGLONG start, double rate, double warm_up_s,
                      double measure_s);
    // Frames per second of the last paced run; waits for it to end.
    double PacedRate();

private:
    std::string name_;
    PipelineFactory factory_;
    ViewLayout layout_ = {};
    Worker worker_;
    std::unique_ptr<Pipeline> pipeline_;
    int paced_frames_ = 0;
    double paced_seconds_ = 0;
};

// Reads the screen where the window's client area is.
Screenshot CaptureClient(HWND window);
// The part of the client area that lies on the screen.
ClientRegion VisibleClientRegion(HWND window);

// Seconds of the performance counter.
LONGLONG CounterNow();
double CounterSeconds(LONGLONG ticks);
LONGLONG CounterTicks(double seconds);

// How much measuring one comparison takes.
struct TurnPlan {
    int repeats;         // independent ratios, each from its own blocks
    int block_pairs;     // blocks per contender and repeat
    int frames_per_block;
};

struct Comparison {
    Summary speed;         // reference cost / contender cost, one value per repeat
    Summary reference_ms;  // medians of each repeat's blocks
    Summary contender_ms;
};

// Lets both contenders draw the same frames in turn, block by block (ABBA),
// and compares their costs repeat by repeat. Their pictures are checked before.
Comparison CompareInTurns(Contender& reference, Contender& contender, const Frames& frames,
                          const TurnPlan& plan);
// The same where the contender is given the same pictures laid out its own
// way, frame i of one set showing what frame i of the other shows.
Comparison CompareInTurns(Contender& reference, Contender& contender, const Frames& reference_frames,
                          const Frames& contender_frames, const TurnPlan& plan);

// One side of a comparison: draws one frame untimed, then `count` frames,
// and gives the wall time per frame in milliseconds, as TimeBlock does. For
// sides that are not contenders of this process (a child process's view).
using BlockTimer = std::function<double(int count)>;

// The same turns for any two sides; each is given a block of 5 frames
// first, which is not compared.
Comparison CompareInTurns(const BlockTimer& reference, const BlockTimer& contender, const TurnPlan& plan);

// "refused: <name> shows a wrong picture (...)" or empty when the card is shown.
std::string CardProblem(const Contender& who, const CardVerdict& verdict);

}  // namespace bench
