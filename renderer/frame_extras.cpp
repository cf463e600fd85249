#include "frame_extras.h"

#include <chrono>

#include "frame_present.h"
#include "renderer_core.h"
#include "shader_program.h"

namespace noxd {

namespace {

uint64_t SteadyMicroseconds() {
    using namespace std::chrono;
    return static_cast<uint64_t>(
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

HRESULT PresentNewFrame(RendererCore& renderer, const void* frame) {
    const uint64_t start_us = SteadyMicroseconds();
    {
        ScopedRendererLock hold(renderer.lock);
        ApplyRequestedColorSpace(renderer);
    }
    const HRESULT shown = PresentFrame(renderer, frame);
    if (shown != S_OK) return shown;
    const uint64_t end_us = SteadyMicroseconds();
    std::lock_guard<std::mutex> counting(renderer.stats_mutex);
    renderer.stats.RecordFrame(end_us, static_cast<uint32_t>(end_us - start_us));
    return shown;
}

PictureCover CoverDueNow(RendererCore& renderer) {
    const FrameStatsSummary frames = ReadFrameStats(renderer);
    return IsStale(renderer.stale_timeout_ms, frames.ms_since_last_frame) ? renderer.hooks.draw_stale_cover
                                                                          : nullptr;
}

HRESULT RedrawLastFrame(RendererCore& renderer) {
    if (ReadFrameStats(renderer).ms_since_last_frame == FrameStatsSummary::kNoFrameYet) return S_FALSE;
    {
        ScopedRendererLock hold(renderer.lock);
        ApplyRequestedColorSpace(renderer);
    }
    return RedrawFrame(renderer, CoverDueNow(renderer));
}

FrameStatsSummary ReadFrameStats(RendererCore& renderer) {
    const uint64_t now_us = SteadyMicroseconds();
    std::lock_guard<std::mutex> reading(renderer.stats_mutex);
    return renderer.stats.Read(now_us);
}

}  // namespace noxd
