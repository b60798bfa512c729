#pragma once
// Monte Carlo uncertainties of the burial-exposure simulation: each draw
// takes the 10Be and 26Al concentrations (and, when their uncertainties are
// given, the two production rates) from normal distributions around the
// measured values, runs the engine on the same curve and keeps its best fit.
// The draws are independent: draw d has its own generator seeded from
// (seed, d), so the results do not depend on how many threads share them.

#include "core/HalfLives.h"
#include "core/OutputTable.h"
#include "proxy/SimulationCurve.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qex {

// The sample as one draw sees it, before the drawing.
struct MonteCarloSample {
    double be10 = 0.0, be10Error = 0.0;                     // atoms/g
    double al26 = 0.0, al26Error = 0.0;                     // atoms/g
    double be10Production = 0.0, be10ProductionError = 0.0; // atoms/g/yr
    double al26Production = 0.0, al26ProductionError = 0.0; // atoms/g/yr
    // Percent: most of the production rates' uncertainty is the scaling to
    // the site they share, so one factor per draw scales both.
    double productionScalingError = 0.0;
    double density = 0.0;        // g/cm3
    double freePath = 0.0;       // g/cm2
    double aerialErosion = 0.0;  // cm/yr
    double glacialErosion = 0.0; // cm/yr
    HalfLives halfLives = {};
};

// One draw: what was drawn and the best fit it gave.
struct MonteCarloDraw {
    double be10 = 0.0, al26 = 0.0;                     // atoms/g
    double be10Production = 0.0, al26Production = 0.0; // atoms/g/yr, the shared factor applied
    double productionScaling = 1.0; // the shared factor drawn
    bool ok = false;     // the engine gave a best fit
    bool matched = false; // its best history's 10Be is the drawn one
    bool lowerLimit = false; // matched, and its total a lower limit
    double cutValue = 0.0;        // proxy units
    double ratioDifference = 0.0; // percent
    double exposure = 0.0, burial = 0.0, total = 0.0; // yr
    double calculatedRatio = 0.0;
};

// The quantities summarised, in this order.
enum MonteCarloQuantity { kMcCutValue, kMcRatioDifference, kMcExposure, kMcBurial, kMcTotal, kMcQuantities };

using MonteCarloSummary = DistributionSummary;

struct MonteCarloResult {
    int draws = 0;
    std::uint64_t seed = 0;
    std::vector<MonteCarloDraw> samples; // in draw order
    int succeeded = 0;
    int matched = 0;    // succeeded draws whose best history matched (lower limits included)
    int lowerLimit = 0; // matched draws whose total is a lower limit
    double productionScalingError = 0.0; // percent, as drawn
    // Over the matched draws alone: an unmatched best history is not an age.
    std::array<MonteCarloSummary, kMcQuantities> summary = {};
};

// (draws done, draws in all); false stops the calculation.
using MonteCarloProgress = std::function<bool(int done, int total)>;

// Runs `draws` draws on the curve. `threads` <= 0 takes every core. The
// progress is called from the calling thread only. False when stopped.
bool RunMonteCarlo(const SimulationCurve& curve, const MonteCarloSample& sample, int draws, std::uint64_t seed,
                   MonteCarloResult& result, int threads = 0, const MonteCarloProgress& progress = {});

// The deviates of draw d's generator, for tests of the distribution: n
// standard normal deviates in the order a draw takes them.
std::vector<double> MonteCarloNormalDeviates(std::uint64_t seed, std::uint64_t draw, int n);

// The p-quantile (0 <= p <= 1) of sorted values, interpolated linearly
// between order statistics at (n - 1) p (Hyndman and Fan 1996, type 7).
double SortedQuantile(const std::vector<double>& sorted, double p);

// The median, 68 % and 95 % intervals (SortedQuantile), mean and sd (n - 1)
// of a quantity's draws; all 0 without a draw.
DistributionSummary SummariseDraws(std::vector<double> values);

// The block: the heading "Monte Carlo (D draws, seed S)", one line per
// quantity with its median, the distances to the 16th and 84th percentiles
// and the 95 % interval (ages in kyr), the shares matched and failed, and an
// empty line. It follows the calculation's block, uncounted.
struct MonteCarloBlock {
    int draws = 0;
    double seed = 0.0; // a whole number below 2^53
    bool any = false;  // a draw matched: the summaries hold
    MonteCarloSummary cutValue, ratioDifference, exposure, burial, total; // ages in years
    // Of all draws: matched (lower limits included), lower limits, a best
    // history that never matched, and no best fit at all.
    double matchedPercent = 0.0, lowerLimitPercent = 0.0, unmatchedPercent = 0.0, failedPercent = 0.0;
    double productionScalingError = 0.0; // percent
};
MonteCarloBlock MonteCarloBlockOf(const MonteCarloResult& result);
// The block's "Warning" line when fewer than 95 % of the draws matched, else empty.
std::string MonteCarloWarning(const MonteCarloBlock& block);
const OutputTable<MonteCarloBlock>& MonteCarloOutputTable();

// One CSV row per draw under a header row: the drawn inputs and the best fit.
std::string FormatMonteCarloSamplesCsv(const MonteCarloResult& result);

} // namespace qex
