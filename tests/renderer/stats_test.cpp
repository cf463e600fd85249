// noxd_get_stats against frames this test draws and overlays it adds.
#include <gtest/gtest.h>

#include <cstring>

#include "support/frames.h"
#include "support/renderer_fixture.h"

using namespace noxd_test;

namespace {

uint64_t NowUs() {
    LARGE_INTEGER count, rate;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&rate);
    return static_cast<uint64_t>(count.QuadPart) * 1000000 / static_cast<uint64_t>(rate.QuadPart);
}

TEST(StatsTest, CountsTheFramesDrawnAndTimesThemWithinTheCalls) {
    ScopedRenderer r(NOXD_FORMAT_YUY2, 64, 48, 160, 120);
    ASSERT_EQ(r.status(), S_OK);
    const NOXD_STATS fresh = StatsOf(r.get());
    EXPECT_EQ(fresh.size, sizeof fresh);
    EXPECT_EQ(fresh.frames_drawn, 0u);
    EXPECT_EQ(fresh.frames_last_second, 0u);
    EXPECT_EQ(fresh.ms_since_last_frame, 0xFFFFFFFFu);
    EXPECT_EQ(fresh.frame_width, 64);
    EXPECT_EQ(fresh.frame_height, 48);
    EXPECT_EQ(fresh.format, NOXD_FORMAT_YUY2);
    EXPECT_EQ(fresh.client_width, 160);
    EXPECT_EQ(fresh.client_height, 120);
    EXPECT_EQ(fresh.overlays, 0u);

    const std::vector<uint8_t> frame = YuvFrame(12, 64, 48, [](int, int) { return Yuv{90, 100, 150}; });
    constexpr unsigned kFrames = 7;
    const uint64_t start = NowUs();
    for (unsigned i = 0; i < kFrames; ++i) ASSERT_EQ(noxd_draw_frame(r.get(), frame.data()), S_OK);
    const uint64_t spent = NowUs() - start;
    UINT_PTR line = 0, point = 0;
    ASSERT_EQ(noxd_add_osd_line(r.get(), &line, 0.1f, 0.1f, 0.9f, 0.9f, 2, 0xFF0000FF, 0), S_OK);
    ASSERT_EQ(noxd_add_osd_point(r.get(), &point, 0.5f, 0.5f, 4, 0xFF00FF00), S_OK);

    const NOXD_STATS s = StatsOf(r.get());
    EXPECT_EQ(s.frames_drawn, kFrames);
    // However slow the machine, the frames of the last second are among
    // these, the latest at least, and their times lie within the calls'.
    EXPECT_GE(s.frames_last_second, 1u);
    EXPECT_LE(s.frames_last_second, kFrames);
    EXPECT_GT(s.worst_draw_us, 0u);
    EXPECT_LE(s.average_draw_us, s.worst_draw_us);
    EXPECT_LE(s.worst_draw_us, spent);
    EXPECT_LE(uint64_t{s.average_draw_us} * s.frames_last_second, spent + s.frames_last_second);
    EXPECT_LE(uint64_t{s.ms_since_last_frame}, (NowUs() - start) / 1000);
    EXPECT_EQ(s.overlays, 2u);

    ASSERT_EQ(noxd_delete_osd(r.get(), &line), S_OK);
    EXPECT_EQ(StatsOf(r.get()).overlays, 1u);
    ASSERT_EQ(noxd_clear_osd(r.get()), S_OK);
    EXPECT_EQ(StatsOf(r.get()).overlays, 0u);
    // A frame that fails is not counted.
    EXPECT_EQ(noxd_draw_frame(r.get(), nullptr), E_INVALIDARG);
    EXPECT_EQ(StatsOf(r.get()).frames_drawn, kFrames);
}

TEST(StatsTest, AnOlderShorterStructureGetsOnlyItsOwnFields) {
    ScopedRenderer r(NOXD_FORMAT_I420, 32, 32, 64, 64);
    ASSERT_EQ(r.status(), S_OK);
    const std::vector<uint8_t> frame = YuvFrame(8, 32, 32, [](int, int) { return Yuv{90, 100, 150}; });
    ASSERT_EQ(noxd_draw_frame(r.get(), frame.data()), S_OK);
    ASSERT_EQ(noxd_draw_frame(r.get(), frame.data()), S_OK);

    // A program that knew only size and frames_drawn, its structure followed by other data.
    unsigned char memory[sizeof(NOXD_STATS)];
    std::memset(memory, 0xAB, sizeof memory);
    const UINT old_size = 2 * sizeof(UINT);
    std::memcpy(memory, &old_size, sizeof old_size);
    ASSERT_EQ(noxd_get_stats(r.get(), reinterpret_cast<NOXD_STATS*>(memory)), S_OK);
    UINT frames = 0;
    std::memcpy(&frames, memory + sizeof(UINT), sizeof frames);
    EXPECT_EQ(frames, 2u);
    for (size_t i = old_size; i < sizeof memory; ++i) ASSERT_EQ(memory[i], 0xAB) << "byte " << i;

    NOXD_STATS too_small = {};
    too_small.size = 3;
    EXPECT_EQ(noxd_get_stats(r.get(), &too_small), E_INVALIDARG);
    EXPECT_EQ(noxd_get_stats(r.get(), nullptr), E_INVALIDARG);
    NOXD_STATS any = {};
    any.size = sizeof any;
    EXPECT_EQ(noxd_get_stats(nullptr, &any), E_INVALIDARG);
}

}  // namespace
