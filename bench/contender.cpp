#include "contender.h"

#include <algorithm>

#include "common/screen_capture.h"

namespace bench {

Contender::Contender(std::string name, PipelineFactory factory)
    : name_(std::move(name)), factory_(factory) {}

Contender::~Contender() {
    worker_.Run([this] { pipeline_.reset(); });
}

bool Contender::Open(const ViewLayout& layout) {
    layout_ = layout;
    bool opened = false;
    worker_.Run([&] {
        pipeline_ = factory_();
        opened = pipeline_->Open(layout_);
    });
    return opened;
}

CardVerdict Contender::ShowCard(const std::vector<uint8_t>& card) {
    return ShowCard(card, {0, 0, layout_.client_width, layout_.client_height});
}

CardVerdict Contender::ShowCard(const std::vector<uint8_t>& card, const ClientRegion& region) {
    Screenshot shot;
    HWND window = nullptr;
    worker_.Run([&] {
        window = pipeline_->window();
        BringToTop(window);
        // Twice: the first swap after a raise may still race the expose.
        pipeline_->Draw(card.data());
        pipeline_->Draw(card.data());
        PumpMessages();
        shot = CaptureClient(window);
    });
    const ClientRegion visible = VisibleClientRegion(window);
    const ClientRegion checked = {std::max(region.left, visible.left), std::max(region.top, visible.top),
                                  std::min(region.right, visible.right),
                                  std::min(region.bottom, visible.bottom)};
    return CheckCard(shot, layout_.format, layout_.frame_width, layout_.frame_height, checked);
}

double Contender::TimeBlock(const Frames& frames, int count) {
    double ms = 0;
    worker_.Run([&] {
        BringToTop(pipeline_->window());
        pipeline_->Draw(frames[0].data());
        const LONGLONG start = CounterNow();
        for (int i = 0; i < count; ++i) pipeline_->Draw(frames[i % frames.size()].data());
        ms = CounterSeconds(CounterNow() - start) * 1000.0 / count;
    });
    return ms;
}

void Contender::PostPacedRun(const Frames& frames, LONGLONG start, double rate, double warm_up_s,
                             double measure_s) {
    worker_.Post([this, &frames, start, rate, warm_up_s, measure_s] {
        const LONGLONG from = start + CounterTicks(warm_up_s);
        const LONGLONG until = from + CounterTicks(measure_s);
        int counted = 0;
        for (long k = 0;; ++k) {
            const LONGLONG due = start + CounterTicks(k / rate);
            if (due >= until) break;
            const LONGLONG now = CounterNow();
            if (due > now) Sleep(static_cast<DWORD>(CounterSeconds(due - now) * 1000.0));
            pipeline_->Draw(frames[k % frames.size()].data());
            const LONGLONG done = CounterNow();
            if (done >= from && done < until) ++counted;
            if (done >= until) break;
            // Messages of a host window come to this thread.
            PumpMessages();
        }
        paced_frames_ = counted;
        paced_seconds_ = measure_s;
    });
}

double Contender::PacedRate() {
    worker_.Wait();
    return FramesPerSecond(paced_frames_, paced_seconds_);
}

Screenshot CaptureClient(HWND window) {
    noxd_examples::ClientPixels pixels = noxd_examples::CaptureClientArea(window);
    return {pixels.width, pixels.height, std::move(pixels.bgra)};
}

ClientRegion VisibleClientRegion(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    const int screen_w = GetSystemMetrics(SM_CXSCREEN), screen_h = GetSystemMetrics(SM_CYSCREEN);
    return {std::max(0, -static_cast<int>(origin.x)), std::max(0, -static_cast<int>(origin.y)),
            std::min(static_cast<int>(client.right), screen_w - static_cast<int>(origin.x)),
            std::min(static_cast<int>(client.bottom), screen_h - static_cast<int>(origin.y))};
}

namespace {
LONGLONG CounterFrequency() {
    static const LONGLONG frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return frequency;
}
}  // namespace

LONGLONG CounterNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double CounterSeconds(LONGLONG ticks) { return static_cast<double>(ticks) / CounterFrequency(); }

LONGLONG CounterTicks(double seconds) { return static_cast<LONGLONG>(seconds * CounterFrequency()); }

std::string CardProblem(const Contender& who, const CardVerdict& verdict) {
    if (verdict.Shown()) return "";
    if (verdict.compared == 0) return who.name() + " shows nothing that could be checked";
    return Format("%s shows a wrong picture (%d of %d points wrong, first %s)", who.name().c_str(),
                  verdict.wrong, verdict.compared, verdict.first_wrong.c_str());
}

Comparison CompareInTurns(Contender& reference, Contender& contender, const Frames& frames,
                          const TurnPlan& plan) {
    return CompareInTurns(reference, contender, frames, frames, plan);
}

Comparison CompareInTurns(Contender& reference, Contender& contender, const Frames& reference_frames,
                          const Frames& contender_frames, const TurnPlan& plan) {
    return CompareInTurns([&](int count) { return reference.TimeBlock(reference_frames, count); },
                          [&](int count) { return contender.TimeBlock(contender_frames, count); }, plan);
}

Comparison CompareInTurns(const BlockTimer& reference, const BlockTimer& contender, const TurnPlan& plan) {
    Comparison result = {};
    // The first frames of a pipeline allocate; they are not what is compared.
    reference(5);
    contender(5);
    std::vector<double> speeds, reference_ms, contender_ms;
    for (int r = 0; r < plan.repeats; ++r) {
        std::vector<double> ref_blocks, con_blocks;
        for (int b = 0; b < plan.block_pairs; ++b) {
            const bool reference_first = FirstGoesFirst(b);
            const double a = (reference_first ? reference : contender)(plan.frames_per_block);
            const double c = (reference_first ? contender : reference)(plan.frames_per_block);
            ref_blocks.push_back(reference_first ? a : c);
            con_blocks.push_back(reference_first ? c : a);
        }
        speeds.push_back(SpeedRatio(ref_blocks, con_blocks));
        reference_ms.push_back(Median(ref_blocks));
        contender_ms.push_back(Median(con_blocks));
    }
    result.speed = Summarize(speeds);
    result.reference_ms = Summarize(reference_ms);
    result.contender_ms = Summarize(contender_ms);
    return result;
}

}  // namespace bench
