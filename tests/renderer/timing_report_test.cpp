#include <gtest/gtest.h>

#include "math/timing_report.h"

using namespace noxd;

namespace {

struct Points {
    size_t width = 0;
    TimingPoint entry = MakeTimingPoint("PutVideo", 938, 1000, width);
    TimingPoint swap = MakeTimingPoint("SwapBuffers", 1079, 1000, width);
};

}  // namespace

TEST(TimingReportTest, LabelsAndWidth) {
    Points p;
    EXPECT_EQ(p.entry.label, "CGLRenderer::PutVideo (line 938)");
    EXPECT_EQ(p.swap.label, "CGLRenderer::PutVideo (line 1079)");
    EXPECT_EQ(p.width, 40u);
}

TEST(TimingReportTest, NoReportBeforeTheIntervalThenOneAt25Fps) {
    Points p;
    // 25 passes a second: the pass at 59990 ms after set-up reports.
    uint32_t now = 1000;
    int reports = 0;
    std::string text;
    for (int i = 1; i <= 1500; ++i) {
        now = 1000 + static_cast<uint32_t>(i) * 40 - 10;
        if (auto r = PassTimingPoint(p.entry, now, p.width)) {
            ++reports;
            text = *r;
            EXPECT_EQ(i, 1500);
        }
    }
    ASSERT_EQ(reports, 1);
    EXPECT_EQ(text, "CGLRenderer::PutVideo (line 938)            FPS=25.004    PutVideo");
    EXPECT_EQ(p.entry.pass_count, 0u);
    EXPECT_EQ(p.entry.last_report, now);
}

TEST(TimingReportTest, ExactLayoutOfTheReport) {
    Points p;
    const std::string text = FormatRateReport(p.entry, p.width, 25.0);
    EXPECT_EQ(text.substr(0, 32), "CGLRenderer::PutVideo (line 938)");
    EXPECT_EQ(text.substr(32, 12), std::string(12, ' '));
    EXPECT_EQ(text.substr(44), "FPS=25.000    PutVideo");
    // A rate too wide for its piece is cut at 14 characters.
    EXPECT_EQ(FormatRateReport(p.swap, p.width, 123456789.0).substr(44),
              "FPS=123456789.SwapBuffers");
}

TEST(TimingReportTest, ClockWrapAndBackwardsStepCountAsElapsedTime) {
    size_t width = 0;
    TimingPoint point = MakeTimingPoint("PutVideo", 938, 0xFFFFF000u, width);
    // 60000 ms later across the 32-bit wrap.
    EXPECT_TRUE(PassTimingPoint(point, 0xFFFFF000u + 60000u, width).has_value());
    // A clock read 60 s behind the last report counts as 60 s too.
    const uint32_t last = point.last_report;
    EXPECT_TRUE(PassTimingPoint(point, last - 60000u, width).has_value());
}

TEST(DebugLineTest, ThreadIdInAtLeastFourUpperHexDigits) {
    EXPECT_EQ(FormatDebugLine(0x2a, "hello"), "MYDBG 0x002A hello\n");
    EXPECT_EQ(FormatDebugLine(0x1234abcd, "x"), "MYDBG 0x1234ABCD x\n");
    const std::string long_message(700, 'm');
    EXPECT_EQ(FormatDebugLine(1, long_message), "MYDBG 0x0001 " + std::string(511, 'm') + "\n");
}
