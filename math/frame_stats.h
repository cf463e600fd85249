// Statistics of the frames one renderer drew: a total count and, over the
// last second, the count and the draw times. Free of Windows and GL: the
// caller passes the clock's readings in.
//
// Not locked by itself; the renderer keeps it under a mutex of its own that
// is held only for RecordFrame and Read, never across a frame.
#pragma once

#include <array>
#include <cstdint>

namespace noxd {

// What Read reports.
struct FrameStatsSummary {
    uint32_t frames_drawn = 0;        // since creation; wraps at 2^32
    uint32_t frames_last_second = 0;  // ended within the second up to now
    uint32_t average_draw_us = 0;     // of those frames; 0 when there were none
    uint32_t worst_draw_us = 0;
    uint32_t ms_since_last_frame = kNoFrameYet;

    static constexpr uint32_t kNoFrameYet = 0xFFFFFFFFu;
};

// Whether a picture whose last frame came `ms_since_last_frame` ago is stale
// after `timeout_ms`; a timeout of 0 never is.
bool IsStale(uint32_t timeout_ms, uint32_t ms_since_last_frame);

class FrameStats {
public:
    // The newest frames kept; a faster rate reports this many a second.
    static constexpr size_t kKeptFrames = 1024;

    // A frame that ended at `end_us` (microseconds of a steady clock) after
    // taking `draw_us`.
    void RecordFrame(uint64_t end_us, uint32_t draw_us);

    // The statistics as of `now_us`, on the same clock. Visits only the
    // frames of the last second.
    FrameStatsSummary Read(uint64_t now_us) const;

private:
    struct Frame {
        uint64_t end_us;
        uint32_t draw_us;
    };
    std::array<Frame, kKeptFrames> frames_{};  // a ring; next_ is the oldest slot
    size_t next_ = 0;
    size_t kept_ = 0;  // slots holding a frame
    uint32_t frames_drawn_ = 0;
};

}  // namespace noxd
