#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The table zn7bench prints: each figure computed from series measured in the
// same run, with its target. Kept apart from the benchmarks so that the
// arithmetic and the verdicts can be tested without running any.
namespace Figures {

// How a figure is made from its series (a, b, c, d, in that order).
enum class Formula {
    Ratio,    // a / b
    Excess,   // (a - b) / divisor
    Growth,   // (a / b) / (c / d): how much faster a grows over b than c over d
    RatioToSum,   // a / (b + c)
};

// Seconds (or bytes) of each repetition, in run order.
using Series = std::vector<double>;

struct Figure
{
    std::string name;
    Formula formula = Formula::Ratio;
    std::vector<Series> main;    // the series the figure and its target are taken on
    std::vector<Series> other;   // the same on the other clock, shown beside it; may be empty
    double limit = 0;            // 0: shown for information, no target
    double divisor = 0;          // Excess only
    std::string unit = "s";      // "s" or "bytes"
    std::string divisorName = "file";   // what the divisor is, as printed
};

// One line of the table, computed.
struct Row
{
    bool ran = false;       // every series has a value and the figure is defined
    double measured = 0;    // the formula on the medians of the series
    double low = 0;         // lowest and highest of the formula on each
    double high = 0;        // repetition's values, repetitions paired in run order
    bool hasOther = false;
    double other = 0;       // the formula on the medians of `other`
    std::size_t pairs = 0;  // repetitions paired
    std::string holds;      // "yes" or "NO" when there is a target, else ""
};

double median(Series values);

// The formula on one value per series; `divisor` for Excess.
double apply(Formula formula, const std::vector<double> &values, double divisor);

// A figure with a target holds when it was measured and is at most its limit;
// one that did not run does not hold.
std::string holds(const Figure &figure, bool ran, double measured);

Row compute(const Figure &figure);

// The table's heading, and one figure's line as printed.
std::string heading();
std::string line(const Figure &figure, const Row &row);

} // namespace Figures
