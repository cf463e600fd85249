#include "bench_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

namespace bench {

namespace {
constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();
}

double Median(std::vector<double> values) {
    if (values.empty()) return kNoValue;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

Summary Summarize(const std::vector<double>& values) {
    if (values.empty()) return {kNoValue, kNoValue, kNoValue, 0};
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    return {Median(values), *lo, *hi, values.size()};
}

double SpeedRatio(const std::vector<double>& reference_cost, const std::vector<double>& contender_cost) {
    const double reference = Median(reference_cost);
    const double contender = Median(contender_cost);
    if (std::isnan(reference) || std::isnan(contender) || contender <= 0) return kNoValue;
    return reference / contender;
}

double CostRatioAtResolution(double reference_cost, double contender_cost, double resolution) {
    if (std::isnan(reference_cost) || std::isnan(contender_cost)) return kNoValue;
    return std::max(reference_cost, resolution) / std::max(contender_cost, resolution);
}

bool FirstGoesFirst(int block) { return block % 2 == 0; }

std::string FormatSummary(const Summary& s, int decimals) {
    if (s.count == 0 || std::isnan(s.median)) return "-";
    return Format("%.*f (%.*f-%.*f)", decimals, s.median, decimals, s.min, decimals, s.max);
}

bool GoalMet(const Goal& goal, const Summary& s) {
    if (s.count == 0 || std::isnan(s.median)) return false;
    return goal.kind == Goal::AtLeast ? s.median >= goal.bound : s.median <= goal.bound;
}

std::string GoalText(const Goal& goal) {
    return Format("%s %.2f", goal.kind == Goal::AtLeast ? ">=" : "<=", goal.bound);
}

std::string Verdict(bool met) { return met ? "met" : "NOT met"; }

CapacitySearch::CapacitySearch(int first, int limit, double growth)
    : limit_(limit), growth_(growth), failed_(limit + 1), next_(std::min(std::max(first, 1), limit)) {}

bool CapacitySearch::Done() const { return failed_ - passed_ <= 1; }

int CapacitySearch::Next() const { return next_; }

void CapacitySearch::Record(int views, bool kept_up) {
    if (kept_up)
        passed_ = std::max(passed_, views);
    else
        failed_ = std::min(failed_, views);
    if (Done()) return;
    // Growing while nothing has failed, halving the bracket afterwards.
    next_ = failed_ > limit_ ? std::min(static_cast<int>(passed_ * growth_), limit_)
                             : passed_ + (failed_ - passed_) / 2;
    if (next_ <= passed_) next_ = passed_ + 1;
}

int CapacitySearch::Result() const { return passed_; }

double FramesPerSecond(int frames, double seconds) {
    return seconds > 0 ? frames / seconds : 0.0;
}

void Table::AddRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }

std::string Table::Render() const {
    std::vector<size_t> widths;
    for (const auto& row : rows_)
        for (size_t i = 0; i < row.size(); ++i) {
            if (widths.size() <= i) widths.push_back(0);
            widths[i] = std::max(widths[i], row[i].size());
        }
    std::string text;
    for (const auto& row : rows_) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line.append(widths[i] - row[i].size() + 2, ' ');
        }
        text += line + "\n";
    }
    return text;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(&text[0], text.size() + 1, format, again);
    va_end(again);
    return text;
}

}  // namespace bench
