// The arithmetic of the benchmarks: medians and ranges of repeats, ratios of
// contenders measured in turn, goals, the search for a wall's size and the
// text tables the results are printed in. No window system here, so all of it
// is unit-tested on its own.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// Median and range of a set of measurements; NaN for an empty set.
struct Summary {
    double median;
    double min;
    double max;
    size_t count;
};
double Median(std::vector<double> values);
Summary Summarize(const std::vector<double>& values);

// How fast a contender is next to a reference, from the per-frame costs of
// blocks each drew in turn: median reference cost over median contender
// cost, so 1.0 is as fast and above 1.0 faster. NaN when either is empty.
double SpeedRatio(const std::vector<double>& reference_cost, const std::vector<double>& contender_cost);

// Two costs measured in turns, reference over contender (above 1.0 the
// contender costs less), each taken as at least `resolution`: readings the
// measure cannot tell from nothing compare as equal, and nothing against a
// real cost gives a finite ratio. NaN when either cost is NaN.
double CostRatioAtResolution(double reference_cost, double contender_cost, double resolution);

// The order of contenders in block pair `block` (ABBA...): A first in even
// pairs, B first in odd ones, so a slow drift of the machine falls on both.
bool FirstGoesFirst(int block);

// "0.97 (0.95-0.99)" with `decimals` places; "-" for no measurement.
std::string FormatSummary(const Summary& s, int decimals = 3);

// A goal on a figure: at least or at most a bound.
struct Goal {
    enum Kind { AtLeast, AtMost } kind;
    double bound;
};
// Met when the median meets the bound; a summary without measurements never meets it.
bool GoalMet(const Goal& goal, const Summary& s);
std::string GoalText(const Goal& goal);  // ">= 0.97", "<= 1.15"
std::string Verdict(bool met);           // "met", "NOT met"

// The largest number of views that keep up, found with few trials: growing
// from `first` by `growth` (at least one view) until a trial fails or
// `limit` passes, then bisecting between the last pass and the first
// failure. Growth 2 finds an unknown size; a small growth from a size found
// before confirms it in fewer trials.
class CapacitySearch {
public:
    CapacitySearch(int first, int limit, double growth = 2.0);
    bool Done() const;
    int Next() const;                   // the number of views of the next trial
    void Record(int views, bool kept_up);
    int Result() const;                 // largest passing number, 0 if none passed
    bool HitLimit() const { return passed_ >= limit_; }

private:
    int limit_;
    double growth_;
    int passed_ = 0;   // largest count known to keep up
    int failed_;       // smallest count known not to keep up (limit + 1 while none)
    int next_;
};

// A rate in frames per second of `frames` frames drawn in `seconds`.
double FramesPerSecond(int frames, double seconds);

// A plain text table whose columns line up; the first row is the header.
class Table {
public:
    void AddRow(std::vector<std::string> cells);
    std::string Render() const;

private:
    std::vector<std::vector<std::string>> rows_;
};

// printf-style formatting into a std::string.
std::string Format(const char* format, ...)
#ifdef __GNUC__
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace bench
