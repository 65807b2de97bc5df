#include "figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Figures {

namespace {

std::size_t seriesCount(Formula formula)
{
    return formula == Formula::Growth ? 4 : formula == Formula::RatioToSum ? 3 : 2;
}

// The number of repetitions every series has a value for; 0 when a series
// is missing.
std::size_t pairCount(const std::vector<Series> &series, std::size_t needed)
{
    if (series.size() < needed)
        return 0;
    std::size_t pairs = series.front().size();
    for (std::size_t i = 0; i < needed; ++i)
        pairs = std::min(pairs, series[i].size());
    return pairs;
}

std::vector<double> medians(const std::vector<Series> &series, std::size_t needed)
{
    std::vector<double> values;
    for (std::size_t i = 0; i < needed; ++i)
        values.push_back(median(series[i]));
    return values;
}

std::string amount(double value, const std::string &unit)
{
    char text[32];
    if (unit == "bytes")
        std::snprintf(text, sizeof text, "%.1f MB", value / 1e6);
    else if (value < 1e-3)
        std::snprintf(text, sizeof text, "%.1f us", value * 1e6);
    else
        std::snprintf(text, sizeof text, "%.1f ms", value * 1e3);
    return text;
}

} // namespace

double median(Series values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double apply(Formula formula, const std::vector<double> &v, double divisor)
{
    switch (formula) {
    case Formula::Ratio:
        return v[0] / v[1];
    case Formula::Excess:
        return (v[0] - v[1]) / divisor;
    case Formula::Growth:
        return (v[0] / v[1]) / (v[2] / v[3]);
    case Formula::RatioToSum:
        return v[0] / (v[1] + v[2]);
    }
    return NAN;
}

std::string holds(const Figure &figure, bool ran, double measured)
{
    if (figure.limit <= 0)
        return {};
    return ran && measured <= figure.limit ? "yes" : "NO";
}

Row compute(const Figure &figure)
{
    Row row;
    const std::size_t needed = seriesCount(figure.formula);
    row.pairs = pairCount(figure.main, needed);
    const bool defined = figure.formula != Formula::Excess || figure.divisor > 0;
    if (row.pairs > 0 && defined) {
        row.measured = apply(figure.formula, medians(figure.main, needed), figure.divisor);
        row.low = HUGE_VAL;
        row.high = -HUGE_VAL;
        for (std::size_t i = 0; i < row.pairs; ++i) {
            std::vector<double> values;
            for (std::size_t s = 0; s < needed; ++s)
                values.push_back(figure.main[s][i]);
            const double value = apply(figure.formula, values, figure.divisor);
            row.low = std::min(row.low, value);
            row.high = std::max(row.high, value);
        }
        // A zero time or a missing repetition makes no figure, not a pass.
        row.ran = std::isfinite(row.measured) && std::isfinite(row.low) && std::isfinite(row.high);
    }
    if (row.ran && pairCount(figure.other, needed) > 0) {
        row.other = apply(figure.formula, medians(figure.other, needed), figure.divisor);
        row.hasOther = std::isfinite(row.other);
    }
    row.holds = holds(figure, row.ran, row.measured);
    return row;
}

std::string heading()
{
    char text[256];
    std::snprintf(text, sizeof text, "%-44s %8s %13s %7s %6s %7s   %s", "figure", "measured", "spread",
                  "target", "holds", "other", "medians (measured / against), pairs");
    return text;
}

std::string line(const Figure &figure, const Row &row)
{
    char target[16] = "";
    if (figure.limit > 0)
        std::snprintf(target, sizeof target, "<= %.1f", figure.limit);
    char text[512];
    if (!row.ran) {
        std::snprintf(text, sizeof text, "%-44s %8s %13s %7s %6s %7s   %s", figure.name.c_str(), "-", "-",
                      target, row.holds.c_str(), "", "not run");
        return text;
    }
    char measured[16], spread[32], other[16] = "";
    std::snprintf(measured, sizeof measured, "%.2f", row.measured);
    std::snprintf(spread, sizeof spread, "%.2f-%.2f", row.low, row.high);
    if (row.hasOther)
        std::snprintf(other, sizeof other, "%.2f", row.other);

    const std::size_t needed = seriesCount(figure.formula);
    const std::vector<double> m = medians(figure.main, needed);
    std::string against;
    if (figure.formula == Formula::Growth) {
        char growths[64];
        std::snprintf(growths, sizeof growths, "grows %.2f / %.2f", m[0] / m[1], m[2] / m[3]);
        against = growths;
    } else if (figure.formula == Formula::RatioToSum) {
        against = amount(m[0], figure.unit) + " / (" + amount(m[1], figure.unit) + " + " + amount(m[2], figure.unit) + ")";
    } else {
        against = amount(m[0], figure.unit) + " / " + amount(m[1], figure.unit);
        if (figure.formula == Formula::Excess)
            against += ", " + figure.divisorName + " " + amount(figure.divisor, figure.unit);
    }
    std::snprintf(text, sizeof text, "%-44s %8s %13s %7s %6s %7s   %s, %zu", figure.name.c_str(), measured,
                  spread, target, row.holds.c_str(), other, against.c_str(), row.pairs);
    return text;
}

} // namespace Figures
