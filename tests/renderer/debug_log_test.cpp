// The frame-rate report as a debugger receives it.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "renderer/timing.h"
#include "support/debug_print.h"

namespace {

uint32_t fake_now = 0;

uint32_t FakeClock() { return fake_now; }

class DebugLogTest : public ::testing::Test {
protected:
    void SetUp() override { noxd::SetTimingClock(FakeClock); }
    void TearDown() override { noxd::SetTimingClock(nullptr); }
    std::string ExpectedLine(const char* report) {
        char line[200];
        std::snprintf(line, sizeof line, "MYDBG 0x%04lX %s\n", GetCurrentThreadId(), report);
        return line;
    }
    noxd_test::DebugPrintCatcher debug_print_;
    const std::vector<std::string>& debug_lines = debug_print_.lines();
};

TEST_F(DebugLogTest, FrameEntryReportsOnceTheIntervalHasPassed) {
    // 25 passes a second from t = 5000: the pass 60000 ms after set-up reports.
    fake_now = 5000;
    for (int i = 0; i < 1500; ++i, fake_now += 40) noxd::PassFrameEntryPoint();
    EXPECT_TRUE(debug_lines.empty());
    noxd::PassFrameEntryPoint();
    ASSERT_EQ(debug_lines.size(), 1u);
    EXPECT_EQ(debug_lines[0],
              ExpectedLine("CGLRenderer::PutVideo (line 938)            FPS=25.017    PutVideo"));
}

TEST_F(DebugLogTest, SwapPointCountsEveryPassOfConcurrentRenderers) {
    // Four drawing threads at once: no pass may be lost.
    fake_now = 1000;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([] {
            for (int i = 0; i < 1000; ++i) noxd::PassSwapPoint();
        });
    for (std::thread& t : threads) t.join();
    EXPECT_TRUE(debug_lines.empty());
    fake_now += 60000;
    noxd::PassSwapPoint();
    ASSERT_EQ(debug_lines.size(), 1u);
    EXPECT_EQ(debug_lines[0],
              ExpectedLine("CGLRenderer::PutVideo (line 1079)           FPS=66.683    SwapBuffers"));
}

}  // namespace
