#include "figure/AxisTicks.h"

#include "core/Format.h"

#include <algorithm>
#include <cmath>

namespace qex::figure {

namespace {

// Labels aimed at on an axis, and the most a logarithmic axis labels.
constexpr int kTicksWanted = 6;
constexpr int kMostPowerLabels = 7;
// A tick this close to an end (relative to the span) is inside.
constexpr double kEdgeTolerance = 1e-9;
// Linear labels of this many digits before the point, or this small, go to m×10ⁿ.
constexpr double kLargeLabel = 1e5;
constexpr double kSmallLabel = 1e-3;

const char* const kSuperscriptDigits[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
const char* const kSuperscriptMinus = "⁻";
const char* const kMinus = "−";
const char* const kTimes = "×";

// 1, 2 or 5 times a power of ten giving about `wanted` steps over the span.
double RoundStep(double span, int wanted)
{
    const double raw = span / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double factor : {1.0, 2.0, 5.0})
        if (factor * power >= raw * (1.0 - 1e-12))
            return factor * power;
    return 10.0 * power;
}

// Decimals a multiple of `step` needs.
int DecimalsOf(double step)
{
    return std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
}

std::string PowerOfTen(int exponent)
{
    return "10" + Superscript(exponent);
}

// value as m×10ⁿ, m with the decimals that `step` (in the same units) needs.
std::string Scientific(double value, int exponent, double step)
{
    if (value == 0.0)
        return "0";
    const double scale = std::pow(10.0, exponent);
    return TickNumber(value / scale, DecimalsOf(step / scale)) + kTimes + PowerOfTen(exponent);
}

// Multiples of `step` inside [low, high].
std::vector<double> Multiples(double low, double high, double step)
{
    std::vector<double> values;
    const double tolerance = (high - low) * kEdgeTolerance;
    for (double k = std::ceil((low - tolerance) / step); k * step <= high + tolerance; k += 1.0)
        values.push_back(k * step == 0.0 ? 0.0 : k * step);
    return values;
}

std::vector<Tick> LinearTicks(double low, double high)
{
    const double step = RoundStep(high - low, kTicksWanted);
    const double largest = std::max(std::fabs(low), std::fabs(high));
    const int exponent = static_cast<int>(std::floor(std::log10(largest)));
    const bool scientific = largest >= kLargeLabel || largest < kSmallLabel;
    std::vector<Tick> ticks;
    for (const double v : Multiples(low, high, step))
        ticks.push_back({v, scientific ? Scientific(v, exponent, step) : TickNumber(v, DecimalsOf(step))});
    // Minor ticks between: fifths of a step of 1 or 5, quarters of a step of 2.
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    const double minor = step / (std::lround(mantissa) == 2 ? 4.0 : 5.0);
    for (const double v : Multiples(low, high, minor))
        if (std::fabs(std::remainder(v, step)) > minor * 1e-6)
            ticks.push_back({v, std::string()});
    return ticks;
}

std::vector<Tick> LogTicks(double low, double high)
{
    const double lo = std::log10(low);
    const double hi = std::log10(high);
    const double tolerance = (hi - lo) * kEdgeTolerance;
    const int first = static_cast<int>(std::ceil(lo - tolerance));
    const int last = static_cast<int>(std::floor(hi + tolerance));
    auto inside = [&](double v) {
        const double l = std::log10(v);
        return l >= lo - tolerance && l <= hi + tolerance;
    };
    std::vector<Tick> ticks;
    // Every digit times every power of ten in view, the labelled ones chosen below.
    std::vector<std::pair<int, int>> digits; // (digit, exponent)
    for (int e = first - 1; e <= last; ++e)
        for (int d = 1; d <= 9; ++d)
            if (inside(d * std::pow(10.0, e)))
                digits.emplace_back(d, e);

    const int powers = last - first + 1;
    if (powers >= 2) {
        // Powers of ten, every n-th labelled so that at most seven are.
        const int every = (powers + kMostPowerLabels - 1) / kMostPowerLabels;
        for (const auto& [d, e] : digits) {
            const bool labelled = d == 1 && ((e % every) + every) % every == 0;
            ticks.push_back({d * std::pow(10.0, e), labelled ? PowerOfTen(e) : std::string()});
        }
        return ticks;
    }
    for (const std::vector<int>& labelled : {std::vector<int>{1, 2, 5}, std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}}) {
        const auto count = std::count_if(digits.begin(), digits.end(), [&](const auto& de) {
            return std::find(labelled.begin(), labelled.end(), de.first) != labelled.end();
        });
        if (count < 2)
            continue;
        for (const auto& [d, e] : digits) {
            const bool label = std::find(labelled.begin(), labelled.end(), d) != labelled.end();
            ticks.push_back({d * std::pow(10.0, e),
                             label ? (d == 1 ? PowerOfTen(e) : std::to_string(d) + kTimes + PowerOfTen(e))
                                   : std::string()});
        }
        return ticks;
    }
    // Less than one digit's step wide: round steps, each as m×10ⁿ.
    const double step = RoundStep(high - low, kTicksWanted);
    const int exponent = static_cast<int>(std::floor(hi));
    for (const double v : Multiples(low, high, step))
        ticks.push_back({v, Scientific(v, exponent, step)});
    return ticks;
}

} // namespace

std::string Superscript(int value)
{
    std::string text = value < 0 ? kSuperscriptMinus : "";
    for (const char c : std::to_string(value < 0 ? -static_cast<long long>(value) : value))
        text += kSuperscriptDigits[c - '0'];
    return text;
}

std::string TickNumber(double value, int decimals)
{
    std::string text;
    AppendFixed(text, std::fabs(value), 0, decimals);
    const bool zero = text.find_first_not_of("0.") == std::string::npos;
    return value < 0.0 && !zero ? kMinus + text : text;
}

std::vector<Tick> AxisTicks(const Axis& axis)
{
    const double low = std::min(axis.minimum, axis.maximum);
    const double high = std::max(axis.minimum, axis.maximum);
    if (!std::isfinite(low) || !std::isfinite(high) || !(high > low))
        return {};
    std::vector<Tick> ticks;
    if (axis.scale == Scale::Log10) {
        if (!(low > 0.0))
            return {};
        ticks = LogTicks(low, high);
    } else {
        ticks = LinearTicks(low, high);
    }
    std::sort(ticks.begin(), ticks.end(), [](const Tick& a, const Tick& b) { return a.value < b.value; });
    return ticks;
}

} // namespace qex::figure
