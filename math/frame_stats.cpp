#include "frame_stats.h"

#include <algorithm>

namespace noxd {

namespace {

constexpr uint64_t kWindowUs = 1000000;

}  // namespace

bool IsStale(uint32_t timeout_ms, uint32_t ms_since_last_frame) {
    return timeout_ms != 0 && ms_since_last_frame >= timeout_ms;
}

void FrameStats::RecordFrame(uint64_t end_us, uint32_t draw_us) {
    frames_[next_] = {end_us, draw_us};
    next_ = (next_ + 1) % kKeptFrames;
    kept_ = std::min(kept_ + 1, kKeptFrames);
    ++frames_drawn_;
}

FrameStatsSummary FrameStats::Read(uint64_t now_us) const {
    FrameStatsSummary summary;
    summary.frames_drawn = frames_drawn_;
    if (kept_ == 0) return summary;
    const size_t newest = (next_ + kKeptFrames - 1) % kKeptFrames;
    const uint64_t last_end = frames_[newest].end_us;
    const uint64_t since_last_ms = now_us > last_end ? (now_us - last_end) / 1000 : 0;
    summary.ms_since_last_frame =
        static_cast<uint32_t>(std::min<uint64_t>(since_last_ms, FrameStatsSummary::kNoFrameYet - 1));

    uint64_t total_us = 0;
    for (size_t i = 0; i < kept_; ++i) {
        const Frame& f = frames_[(newest + kKeptFrames - i) % kKeptFrames];
        if (now_us >= f.end_us + kWindowUs) break;
        ++summary.frames_last_second;
        total_us += f.draw_us;
        summary.worst_draw_us = std::max(summary.worst_draw_us, f.draw_us);
    }
    if (summary.frames_last_second)
        summary.average_draw_us = static_cast<uint32_t>(total_us / summary.frames_last_second);
    return summary;
}

}  // namespace noxd
