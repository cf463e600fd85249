#include "frame_counts.h"

#include <chrono>
#include <mutex>

#include "renderer_core.h"

namespace noxd {

uint64_t SteadyMicroseconds() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

void CountFrame(RendererCore& renderer, uint64_t start_us) {
    const uint64_t end_us = SteadyMicroseconds();
    std::lock_guard<std::mutex> counting(renderer.stats_mutex);
    renderer.stats.RecordFrame(end_us, static_cast<uint32_t>(end_us - start_us));
}

FrameStatsSummary ReadFrameStats(RendererCore& renderer) {
    const uint64_t now_us = SteadyMicroseconds();
    std::lock_guard<std::mutex> reading(renderer.stats_mutex);
    return renderer.stats.Read(now_us);
}

FrameGeometry ReportedGeometry(RendererCore& renderer) {
    std::lock_guard<std::mutex> reading(renderer.stats_mutex);
    return renderer.reported_geometry;
}

bool HasShownAFrame(RendererCore& renderer) {
    return ReadFrameStats(renderer).ms_since_last_frame != FrameStatsSummary::kNoFrameYet;
}

bool PictureIsStale(RendererCore& renderer) {
    return IsStale(renderer.stale_timeout_ms, ReadFrameStats(renderer).ms_since_last_frame);
}

}  // namespace noxd
