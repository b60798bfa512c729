#include "proxy/MonteCarlo.h"

#include "core/Concurrency.h"
#include "core/Constants.h"
#include "core/Format.h"
#include "proxy/BurialExposureWalk.h"
#include "proxy/ProxyResultLabels.h"
#include "proxy/SimulationParameters.h"
#include "proxy/SimulationSession.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace qex {

namespace {

// A value that is not positive is drawn again; after this many tries (a mean
// far below zero) the draw fails rather than loop.
constexpr int kMaxRedraws = 1000;

// SplitMix64 (Steele, Lea and Flood 2014): spreads (seed, draw) into a
// well-mixed 64-bit seed for the draw's own generator.
std::uint64_t SplitMix64(std::uint64_t x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// Standard normal deviates from std::mt19937_64, whose output the C++
// standard fixes bit for bit, by Marsaglia's polar method (Marsaglia and Bray
// 1964) on uniforms built here from 53 random bits: the same numbers with any
// standard library (std::normal_distribution is not specified that closely).
class CNormalSource {
public:
    CNormalSource(std::uint64_t seed, std::uint64_t draw) : m_engine(SplitMix64(seed ^ SplitMix64(draw))) {}

    double Next()
    {
        if (m_haveSpare) {
            m_haveSpare = false;
            return m_spare;
        }
        double u = 0.0, v = 0.0, s = 0.0;
        do {
            u = 2.0 * Uniform() - 1.0;
            v = 2.0 * Uniform() - 1.0;
            s = u * u + v * v;
        } while (s >= 1.0 || s == 0.0);
        const double factor = std::sqrt(-2.0 * std::log(s) / s);
        m_spare = v * factor;
        m_haveSpare = true;
        return u * factor;
    }

private:
    // Uniform on [0, 1) with 53 random bits.
    double Uniform() { return static_cast<double>(m_engine() >> 11) * 0x1.0p-53; }

    std::mt19937_64 m_engine;
    double m_spare = 0.0;
    bool m_haveSpare = false;
};

// mean + sd z, drawn again until positive. A fixed value (sd 0) is the mean
// itself. False when no positive value came.
bool DrawPositive(CNormalSource& normal, double mean, double sd, double& value)
{
    if (sd == 0.0) {
        value = mean;
        return mean > 0.0;
    }
    for (int i = 0; i < kMaxRedraws; ++i) {
        value = mean + sd * normal.Next();
        if (value > 0.0)
            return true;
    }
    return false;
}

MonteCarloDraw RunDraw(const SimulationCurve& curve, const MonteCarloSample& s, std::uint64_t seed,
                       std::uint64_t d)
{
    CNormalSource normal(seed, d);
    MonteCarloDraw draw;
    // Always four draws in this order, so one input's uncertainty does not
    // shift the others' deviates.
    const bool drawn = DrawPositive(normal, s.be10, s.be10Error, draw.be10) &&
                       DrawPositive(normal, s.al26, s.al26Error, draw.al26) &&
                       DrawPositive(normal, s.be10Production, s.be10ProductionError, draw.be10Production) &&
                       DrawPositive(normal, s.al26Production, s.al26ProductionError, draw.al26Production) &&
                       DrawPositive(normal, 1.0, s.productionScalingError / 100.0, draw.productionScaling);
    if (!drawn)
        return draw;
    draw.be10Production *= draw.productionScaling;
    draw.al26Production *= draw.productionScaling;
    const SimulationParameters p = DeriveSimulationParameters(
        draw.be10, draw.be10Production, draw.al26, draw.al26Production, s.density, s.freePath, s.aerialErosion,
        s.glacialErosion, s.halfLives.be10, s.halfLives.al26);
    // As in a run: no finite numbers, or a ratio above the production ratio
    // (which no burial explains), gives no fit.
    if (!ParametersAreUsable(p) || p.productionRatio < p.measuredRatio)
        return draw;
    CBurialExposureWalk walk(curve, p);
    walk.SetQuiet(true);
    std::vector<CutHistory> histories;
    histories.reserve(kSimulationCutCount);
    for (int k = 1; k <= kSimulationCutCount; ++k)
        histories.push_back(walk.Walk(k));
    const int best = BestHistoryIndex(histories, p);
    if (best < 0)
        return draw;
    const CutHistory& h = histories[static_cast<std::size_t>(best)];
    draw.ok = true;
    // A draw counts as matched when a history explains both nuclides: its
    // 10Be is the drawn one, and the drawn ratio is among those the matched
    // histories reach.
    draw.matched = h.matched && RatioWithinMatched(histories, p);
    draw.lowerLimit = IsLowerLimit(curve, p, h, walk.CutValue(best + 1), s.be10Error);
    draw.cutValue = h.cutValue;
    draw.ratioDifference = 100.0 * std::fabs(h.ratio - p.measuredRatio) / p.measuredRatio;
    draw.exposure = h.exposure;
    draw.burial = h.burial;
    draw.total = h.total;
    draw.calculatedRatio = h.ratio;
    return draw;
}

double QuantityOf(const MonteCarloDraw& d, int q)
{
    switch (q) {
    case kMcCutValue:
        return d.cutValue;
    case kMcRatioDifference:
        return d.ratioDifference;
    case kMcExposure:
        return d.exposure;
    case kMcBurial:
        return d.burial;
    default:
        return d.total;
    }
}

} // namespace

double SortedQuantile(const std::vector<double>& sorted, double p)
{
    if (sorted.empty())
        return 0.0;
    const double h = static_cast<double>(sorted.size() - 1) * std::clamp(p, 0.0, 1.0);
    const auto below = static_cast<std::size_t>(std::floor(h));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return sorted[below] + (h - static_cast<double>(below)) * (sorted[above] - sorted[below]);
}

DistributionSummary SummariseDraws(std::vector<double> values)
{
    DistributionSummary s;
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    s.median = SortedQuantile(values, 0.5);
    s.p16 = SortedQuantile(values, 0.16);
    s.p84 = SortedQuantile(values, 0.84);
    s.p2_5 = SortedQuantile(values, 0.025);
    s.p97_5 = SortedQuantile(values, 0.975);
    // Two passes: the mean, then the spread about it.
    double sum = 0.0;
    for (double v : values)
        sum += v;
    s.mean = sum / static_cast<double>(values.size());
    double squares = 0.0;
    for (double v : values)
        squares += (v - s.mean) * (v - s.mean);
    s.sd = values.size() > 1 ? std::sqrt(squares / static_cast<double>(values.size() - 1)) : 0.0;
    return s;
}

std::vector<double> MonteCarloNormalDeviates(std::uint64_t seed, std::uint64_t draw, int n)
{
    CNormalSource normal(seed, draw);
    std::vector<double> deviates(static_cast<std::size_t>(std::max(n, 0)));
    for (double& z : deviates)
        z = normal.Next();
    return deviates;
}

bool RunMonteCarlo(const SimulationCurve& curve, const MonteCarloSample& sample, int draws, std::uint64_t seed,
                   MonteCarloResult& result, int threads, const MonteCarloProgress& progress)
{
    result = MonteCarloResult();
    result.draws = std::max(draws, 0);
    result.seed = seed;
    result.productionScalingError = sample.productionScalingError;
    result.samples.assign(static_cast<std::size_t>(result.draws), MonteCarloDraw());
    if (threads <= 0)
        threads = AvailableThreads();

    // Each draw is written only to its own slot, so the results are the same
    // whichever thread ran which.
    const bool finished = ShareWork(
        result.draws, threads, 1,
        [&](int, int first, int last) {
            for (int d = first; d <= last; ++d)
                result.samples[static_cast<std::size_t>(d)] =
                    RunDraw(curve, sample, seed, static_cast<std::uint64_t>(d));
        },
        [&](int done) { return !progress || progress(done, result.draws); });
    if (!finished) {
        result.samples.clear();
        return false;
    }
    if (progress)
        progress(result.draws, result.draws);

    std::array<std::vector<double>, kMcQuantities> values;
    for (const MonteCarloDraw& d : result.samples) {
        if (!d.ok)
            continue;
        ++result.succeeded;
        if (!d.matched)
            continue;
        ++result.matched;
        if (d.lowerLimit)
            ++result.lowerLimit;
        for (int q = 0; q < kMcQuantities; ++q)
            values[static_cast<std::size_t>(q)].push_back(QuantityOf(d, q));
    }
    for (int q = 0; q < kMcQuantities; ++q)
        result.summary[static_cast<std::size_t>(q)] = SummariseDraws(std::move(values[static_cast<std::size_t>(q)]));
    return true;
}

MonteCarloBlock MonteCarloBlockOf(const MonteCarloResult& r)
{
    MonteCarloBlock block;
    block.draws = r.draws;
    block.seed = static_cast<double>(r.seed);
    block.any = r.matched > 0;
    block.cutValue = r.summary[kMcCutValue];
    block.ratioDifference = r.summary[kMcRatioDifference];
    block.exposure = r.summary[kMcExposure];
    block.burial = r.summary[kMcBurial];
    block.total = r.summary[kMcTotal];
    const double n = r.draws > 0 ? r.draws : 1;
    block.matchedPercent = 100.0 * r.matched / n;
    block.lowerLimitPercent = 100.0 * r.lowerLimit / n;
    block.unmatchedPercent = 100.0 * (r.succeeded - r.matched) / n;
    block.failedPercent = 100.0 * (r.draws - r.succeeded) / n;
    block.productionScalingError = r.productionScalingError;
    return block;
}

namespace {

bool AnyDraw(const MonteCarloBlock& b)
{
    return b.any;
}

bool NoDraw(const MonteCarloBlock& b)
{
    return !b.any;
}

// Fewer than 95 % of the draws matched: the intervals describe only them.
bool FewMatched(const MonteCarloBlock& b)
{
    constexpr double kMatchedPercentWanted = 95.0;
    return b.matchedPercent < kMatchedPercentWanted;
}

constexpr const char* kWarningFormat = "%s: only %.1f %% of draws matched (a history with the drawn 10Be and "
                                       "ratio); the intervals describe the matched draws alone, and the rest are "
                                       "not ages";

// The block names a shared scaling error when one was drawn.
bool ScalingDrawn(const MonteCarloBlock& b)
{
    return b.productionScalingError > 0.0;
}

std::string MonteCarloHeading(const MonteCarloBlock& b, int)
{
    return Format("Monte Carlo (%d draws, seed %llu)", b.draws, static_cast<unsigned long long>(b.seed));
}

} // namespace

const OutputTable<MonteCarloBlock>& MonteCarloOutputTable()
{
    using R = MonteCarloBlock;
    // Named and scaled as in the calculation's block: ages in kyr.
    static const OutputRow<R> rows[] = {
        {.kind = OutputKind::Count, .name = "mc_draws", .field = &R::draws},
        {.name = "mc_seed", .field = &R::seed},
        {.label = "P scaling error",
         .format = "%-18s:   %.1f %% (one factor per draw scales both production rates)",
         .name = "mc_production_scaling_err_percent", .unit = "%", .field = &R::productionScalingError,
         .shown = ScalingDrawn},
        {.kind = OutputKind::Summary, .label = kCutValueLabel, .format = "%.5f", .name = "mc_cut_value",
         .field = &R::cutValue, .shown = AnyDraw},
        {.kind = OutputKind::Summary, .label = kRatioDifferenceLabel, .format = "%.3f",
         .name = "mc_ratio_diff_percent", .unit = "%", .field = &R::ratioDifference, .shown = AnyDraw},
        {.kind = OutputKind::Summary, .label = kExposureAgeLabel, .format = "%.3f", .name = "mc_exposure_kyr",
         .unit = "kyr", .scale = kYearsPerKyr, .field = &R::exposure, .shown = AnyDraw},
        {.kind = OutputKind::Summary, .label = kBurialAgeLabel, .format = "%.3f", .name = "mc_burial_kyr",
         .unit = "kyr", .scale = kYearsPerKyr, .field = &R::burial, .shown = AnyDraw},
        {.kind = OutputKind::Summary, .label = kTotalAgeLabel, .format = "%.3f", .name = "mc_total_kyr",
         .unit = "kyr", .scale = kYearsPerKyr, .field = &R::total, .shown = AnyDraw},
        {.kind = OutputKind::Line, .format = "No draw matched: no history has the drawn 10Be and ratio", .shown = NoDraw},
        {.label = "Matched", .format = "%-18s:   %.1f %% of draws", .name = "mc_matched_percent", .unit = "%",
         .field = &R::matchedPercent},
        {.label = "Lower limit", .format = "%-18s:   %.1f %% of draws", .name = "mc_lower_limit_percent", .unit = "%",
         .field = &R::lowerLimitPercent},
        {.label = "Unmatched", .format = "%-18s:   %.1f %% of draws", .name = "mc_unmatched_percent", .unit = "%",
         .field = &R::unmatchedPercent},
        {.label = "Failed", .format = "%-18s:   %.1f %% of draws", .name = "mc_failed_percent", .unit = "%",
         .field = &R::failedPercent},
        {.label = "Warning", .format = kWarningFormat, .field = &R::matchedPercent, .shown = FewMatched},
        {.kind = OutputKind::Line, .format = "\n"},
    };
    static const OutputTable<R> table{rows, MonteCarloHeading, false};
    return table;
}

std::string MonteCarloWarning(const MonteCarloBlock& b)
{
    return FewMatched(b) ? Format(kWarningFormat, "Warning", b.matchedPercent) : std::string();
}

std::string FormatMonteCarloSamplesCsv(const MonteCarloResult& r)
{
    std::string text = "draw,be10_atoms_per_g,al26_atoms_per_g,be10_production,al26_production,production_scaling,ok,cut_value,"
                       "ratio_diff_percent,exposure_yr,burial_yr,total_yr,calculated_ratio,matched,lower_limit\n";
    for (std::size_t d = 0; d < r.samples.size(); ++d) {
        const MonteCarloDraw& s = r.samples[d];
        text += Format("%d,%.10g,%.10g,%.10g,%.10g,%.10g,%d", static_cast<int>(d + 1), s.be10, s.al26,
                       s.be10Production, s.al26Production, s.productionScaling, s.ok ? 1 : 0);
        // A failed draw leaves the fit's columns empty.
        text += s.ok ? Format(",%.10g,%.10g,%.10g,%.10g,%.10g,%.10g,%d,%d\n", s.cutValue, s.ratioDifference,
                              s.exposure, s.burial, s.total, s.calculatedRatio, s.matched ? 1 : 0,
                              s.lowerLimit ? 1 : 0)
                     : std::string(",,,,,,,,\n");
    }
    return text;
}

} // namespace qex
