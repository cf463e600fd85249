// The bench's arithmetic: medians and ranges, ratios of turns, goals, the
// search for a wall's size and its tables.
#include <gtest/gtest.h>

#include <cmath>

#include "bench_stats.h"

using namespace bench;

TEST(BenchStatsTest, MedianOfOddAndEvenCounts) {
    EXPECT_DOUBLE_EQ(Median({3.0, 1.0, 2.0}), 2.0);
    EXPECT_DOUBLE_EQ(Median({4.0, 1.0, 3.0, 2.0}), 2.5);
    EXPECT_TRUE(std::isnan(Median({})));
}

TEST(BenchStatsTest, SummaryKeepsMedianAndRange) {
    const Summary s = Summarize({0.91, 0.85, 1.01});
    EXPECT_DOUBLE_EQ(s.median, 0.91);
    EXPECT_DOUBLE_EQ(s.min, 0.85);
    EXPECT_DOUBLE_EQ(s.max, 1.01);
    EXPECT_EQ(s.count, 3u);
    EXPECT_EQ(FormatSummary(s, 2), "0.91 (0.85-1.01)");
    EXPECT_EQ(FormatSummary(s), "0.910 (0.850-1.010)");
    EXPECT_EQ(FormatSummary(Summarize({})), "-");
}

TEST(BenchStatsTest, SpeedRatioIsReferenceCostOverContenderCost) {
    // The contender takes 10 ms where the reference takes 8.5: 0.85 as fast.
    EXPECT_NEAR(SpeedRatio({8.5, 8.4, 30.0}, {10.0, 10.2, 9.9}), 0.85, 1e-9);
    // A single slow block (the machine busy elsewhere) does not move the median.
    EXPECT_NEAR(SpeedRatio({5.0, 5.0, 5.0}, {5.0, 50.0, 5.0}), 1.0, 1e-9);
    EXPECT_TRUE(std::isnan(SpeedRatio({}, {1.0})));
    EXPECT_TRUE(std::isnan(SpeedRatio({1.0}, {0.0})));
}

TEST(BenchStatsTest, CostRatioCountsReadingsBelowTheResolutionAsTheResolution) {
    const struct {
        double reference, contender, expected;
    } cases[] = {
        {0.0, 0.0, 1.0},      // both idle to the measure: alike
        {0.02, 0.04, 1.0},    // both below it: alike, not 0.5
        {0.3, 0.0, 6.0},      // the contender idle, the reference not: a finite ratio
        {0.0, 0.3, 1.0 / 6},  // and the other way round
        {0.2, 0.4, 0.5},      // both above it: the plain ratio
        {0.4, 0.03, 8.0},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(CostRatioAtResolution(c.reference, c.contender, 0.05), c.expected, 1e-9)
            << c.reference << " / " << c.contender;
    EXPECT_TRUE(std::isnan(CostRatioAtResolution(std::nan(""), 0.1, 0.05)));
    EXPECT_TRUE(std::isnan(CostRatioAtResolution(0.1, std::nan(""), 0.05)));
}

TEST(BenchStatsTest, TurnsAlternateWhoStarts) {
    EXPECT_TRUE(FirstGoesFirst(0));
    EXPECT_FALSE(FirstGoesFirst(1));
    EXPECT_TRUE(FirstGoesFirst(2));
}

TEST(BenchStatsTest, GoalsCompareTheMedian) {
    const Goal at_least = {Goal::AtLeast, 0.97};
    EXPECT_TRUE(GoalMet(at_least, Summarize({0.97, 0.90, 1.2})));
    EXPECT_FALSE(GoalMet(at_least, Summarize({0.96, 0.99, 0.95})));
    const Goal at_most = {Goal::AtMost, 1.15};
    EXPECT_TRUE(GoalMet(at_most, Summarize({1.10})));
    EXPECT_FALSE(GoalMet(at_most, Summarize({1.16})));
    EXPECT_FALSE(GoalMet(at_least, Summarize({})));
    EXPECT_EQ(GoalText(at_least), ">= 0.97");
    EXPECT_EQ(GoalText(at_most), "<= 1.15");
}

// Runs a search against a machine that keeps up with at most `capacity` views.
int Search(CapacitySearch search, int capacity, int* trials) {
    *trials = 0;
    while (!search.Done()) {
        const int n = search.Next();
        search.Record(n, n <= capacity);
        ++*trials;
    }
    return search.Result();
}

TEST(BenchStatsTest, CapacitySearchFindsTheLargestPassingCount) {
    int trials = 0;
    for (int capacity : {0, 1, 3, 4, 5, 17, 31, 32, 33, 63}) {
        EXPECT_EQ(Search(CapacitySearch(4, 64), capacity, &trials), capacity) << capacity;
        EXPECT_LE(trials, 12) << capacity;
    }
    EXPECT_EQ(Search(CapacitySearch(4, 64), 100, &trials), 64);
    EXPECT_TRUE([] {
        CapacitySearch s(4, 8);
        while (!s.Done()) s.Record(s.Next(), true);
        return s.HitLimit();
    }());
}

TEST(BenchStatsTest, CapacitySearchFromAKnownSizeTakesFewTrials) {
    int trials = 0;
    EXPECT_EQ(Search(CapacitySearch(16, 64, 1.25), 17, &trials), 17);
    EXPECT_LE(trials, 4);
    EXPECT_EQ(Search(CapacitySearch(16, 64, 1.25), 12, &trials), 12);
}

TEST(BenchStatsTest, FramesPerSecond) {
    EXPECT_DOUBLE_EQ(FramesPerSecond(75, 3.0), 25.0);
    EXPECT_DOUBLE_EQ(FramesPerSecond(10, 0.0), 0.0);
}

TEST(BenchStatsTest, TableColumnsLineUp) {
    Table t;
    t.AddRow({"format", "640x480"});
    t.AddRow({"I420", "0.99 (0.98-1.00) met"});
    EXPECT_EQ(t.Render(), "format  640x480\nI420    0.99 (0.98-1.00) met\n");
}

TEST(BenchStatsTest, FormatBuildsText) {
    EXPECT_EQ(Format("%d views at %.1f fps", 16, 24.5), "16 views at 24.5 fps");
    EXPECT_EQ(Format("%s", std::string(300, 'x').c_str()).size(), 300u);
}
