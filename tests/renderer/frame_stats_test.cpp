// The statistics' sums over the last second, on a clock the test drives.
#include <gtest/gtest.h>

#include "math/frame_stats.h"

using noxd::FrameStats;
using noxd::FrameStatsSummary;

namespace {

constexpr uint64_t kSecond = 1000000;

TEST(FrameStatsTest, CountsOnlyTheFramesOfTheLastSecond) {
    FrameStats stats;
    const FrameStatsSummary none = stats.Read(5 * kSecond);
    EXPECT_EQ(none.frames_drawn, 0u);
    EXPECT_EQ(none.frames_last_second, 0u);
    EXPECT_EQ(none.ms_since_last_frame, FrameStatsSummary::kNoFrameYet);

    stats.RecordFrame(10 * kSecond, 900);
    stats.RecordFrame(10 * kSecond + 400000, 3000);
    stats.RecordFrame(11 * kSecond + 200000, 1000);
    // The second up to now excludes its start: just before 11.4 s the frame
    // of 10.4 s still counts, at 11.4 s it no longer does.
    EXPECT_EQ(stats.Read(11 * kSecond + 400000).frames_last_second, 1u);
    const FrameStatsSummary s = stats.Read(11 * kSecond + 399999);
    EXPECT_EQ(s.frames_drawn, 3u);
    EXPECT_EQ(s.frames_last_second, 2u);
    EXPECT_EQ(s.average_draw_us, 2000u);
    EXPECT_EQ(s.worst_draw_us, 3000u);
    EXPECT_EQ(s.ms_since_last_frame, 199u);

    // A second after the last frame nothing is left to average.
    const FrameStatsSummary later = stats.Read(12 * kSecond + 200000);
    EXPECT_EQ(later.frames_last_second, 0u);
    EXPECT_EQ(later.average_draw_us, 0u);
    EXPECT_EQ(later.worst_draw_us, 0u);
    EXPECT_EQ(later.ms_since_last_frame, 1000u);
    EXPECT_EQ(later.frames_drawn, 3u);
}

TEST(FrameStatsTest, AFasterRateThanTheRingKeepsReportsTheNewestFrames) {
    FrameStats stats;
    const uint32_t total = FrameStats::kKeptFrames + 300;
    for (uint32_t i = 0; i < total; ++i) stats.RecordFrame(kSecond + i * 100, i);
    const FrameStatsSummary s = stats.Read(kSecond + total * 100);
    EXPECT_EQ(s.frames_drawn, total);
    EXPECT_EQ(s.frames_last_second, FrameStats::kKeptFrames);
    EXPECT_EQ(s.worst_draw_us, total - 1);
    // The oldest kept frame is number 300: the mean of 300 .. total-1.
    EXPECT_EQ(s.average_draw_us, (300 + total - 1) / 2);
}

}  // namespace
