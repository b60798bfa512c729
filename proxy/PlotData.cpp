#include "proxy/PlotData.h"

#include "burial/BurialModel.h"
#include "core/Constants.h"
#include "core/Format.h"
#include "proxy/BurialExposureSimulation.h"
#include "proxy/MonteCarlo.h"
#include "proxy/ProxyCurve.h"
#include "proxy/SimulationCalculation.h"
#include "proxy/SimulationParameters.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qex {

namespace {

// The history plot shows this much of the curve beyond the total age (fraction).
constexpr double kHistoryAgeMargin = 0.15;
// Room above and below the data on linear axes (fraction of the span).
constexpr double kValueMargin = 0.05;
// Exposure times of the constant-exposure curve: from a century to far
// beyond saturation (yr), sampled evenly in log time.
constexpr double kFirstExposureYears = 100.0;
constexpr double kLastExposureYears = 3.0e7;
constexpr int kExposureSamplesPerDecade = 30;
// Erosion rates of the steady-erosion end member (cm/yr), from fast enough
// that the ratio is the production ratio to slow enough to be saturation.
constexpr double kFastestErosion = 1.0;
constexpr double kSlowestErosion = 1.0e-8;
constexpr int kErosionSamplesPerDecade = 20;
// Room around the data on the logarithmic 10Be axis before rounding to decades.
constexpr double kLogAxisAllowance = 1.2;

std::vector<HistoryStretch> ToKyr(const std::vector<CutStretch>& stretches)
{
    std::vector<HistoryStretch> out;
    out.reserve(stretches.size());
    for (const CutStretch& s : stretches) {
        HistoryStretch h;
        h.kind = s.kind;
        h.start = s.start / kYearsPerKyr;
        h.end = s.end / kYearsPerKyr;
        h.label = Format("%.1f kyr", h.Duration());
        out.push_back(h);
    }
    return out;
}

AxisRange WithMargin(double low, double high)
{
    if (!(high > low)) {
        // A flat line gets a unit of room either side.
        const double room = std::max(std::fabs(low) * kValueMargin, 1.0);
        return {low - room, high + room};
    }
    const double room = (high - low) * kValueMargin;
    return {low - room, high + room};
}

// Whole decades around [low, high] (both positive).
AxisRange Decades(double low, double high)
{
    return {std::pow(10.0, std::floor(std::log10(low / kLogAxisAllowance))),
            std::pow(10.0, std::ceil(std::log10(high * kLogAxisAllowance)))};
}

// The curve, the axis ranges and the title, shared by both histories.
void FinishHistory(ProxyHistoryPlot& plot, const std::vector<double>& years, const std::vector<double>& values)
{
    const std::size_t count = std::min(years.size(), values.size());
    plot.curve.clear();
    plot.curve.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        // The simulation's loader puts the present in front of a file that
        // starts there already: one point is enough.
        const PlotPoint point{years[i] / kYearsPerKyr, values[i]};
        if (!plot.curve.empty() && plot.curve.back().x == point.x && plot.curve.back().y == point.y)
            continue;
        plot.curve.push_back(point);
    }

    const double curveEnd = plot.curve.empty() ? 0.0 : plot.curve.back().x;
    const double end = plot.totalAge > 0.0 ? plot.totalAge * (1.0 + kHistoryAgeMargin) : curveEnd;
    plot.ages = {0.0, end > 0.0 ? end : 1.0};

    // The values the visible part of the curve takes, and the cut.
    double low = plot.cutValue;
    double high = plot.cutValue;
    for (std::size_t i = 0; i < plot.curve.size(); ++i) {
        const bool visible = plot.curve[i].x <= plot.ages.maximum ||
                             (i > 0 && plot.curve[i - 1].x <= plot.ages.maximum);
        if (!visible)
            continue;
        low = std::min(low, plot.curve[i].y);
        high = std::max(high, plot.curve[i].y);
    }
    plot.values = WithMargin(low, high);

    plot.title = Format("%s, cut value %.3f: exposure %.1f kyr, burial %.1f kyr, total %.1f kyr",
                        plot.curveName.c_str(), plot.cutValue, plot.exposure, plot.burial, plot.totalAge);
}

// The row of the table that holds the best fit (null without one).
const SimulationTableRow* BestRow(const SimulationDetail& detail)
{
    if (!detail.hasBestFit)
        return nullptr;
    for (const SimulationTableRow& row : detail.table)
        if (row.cutValue == detail.bestCutValue)
            return &row;
    return nullptr;
}

// Evenly spaced in log10 from `first` to `last` (both positive), both included.
std::vector<double> LogSpaced(double first, double last, int perDecade)
{
    const double a = std::log10(first);
    const double b = std::log10(last);
    const int steps = std::max(1, static_cast<int>(std::lround(std::fabs(b - a) * perDecade)));
    std::vector<double> out;
    out.reserve(static_cast<std::size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i)
        out.push_back(std::pow(10.0, a + (b - a) * i / steps));
    return out;
}

} // namespace

std::vector<HistoryStretch> AlternatingStretches(const std::vector<double>& crossings, bool oldestIsBurial,
                                                 double totalYears)
{
    const std::size_t n = crossings.size();
    const StretchKind oldest = oldestIsBurial ? StretchKind::Burial : StretchKind::Exposure;
    const StretchKind other = oldestIsBurial ? StretchKind::Exposure : StretchKind::Burial;
    std::vector<CutStretch> history;
    for (std::size_t i = 0; i <= n; ++i) {
        const double start = i == 0 ? 0.0 : crossings[i - 1];
        const double end = i == n ? totalYears : crossings[i];
        // Each interval is of the other kind than the one older than it.
        AppendStretch(history, (n - i) % 2 == 0 ? oldest : other, start, end);
    }
    return ToKyr(history);
}

ProxyHistoryPlot MakeCutHistoryPlot(const CProxyCurve& curve)
{
    ProxyHistoryPlot plot;
    plot.curveName = curve.name;
    // The curve and its cut in the curve's own units.
    plot.cutValue = CurveValue(curve.cutValue, curve.negated);
    for (double year : curve.crossings)
        plot.crossings.push_back(year / kYearsPerKyr);
    plot.stretches = ToKyr(curve.stretches);
    plot.totalAge = curve.totalAge / kYearsPerKyr;
    plot.exposure = curve.exposureAge / kYearsPerKyr;
    plot.burial = curve.burialAge / kYearsPerKyr;
    std::vector<double> values = curve.values;
    for (double& value : values)
        value = CurveValue(value, curve.negated);
    FinishHistory(plot, curve.years, values);
    return plot;
}

ProxyHistoryPlot MakeSimulationHistoryPlot(const SimulationDetail& detail)
{
    ProxyHistoryPlot plot;
    plot.curveName = detail.curveName;
    plot.cutValue = detail.bestCutValue;
    for (double year : detail.crossings)
        plot.crossings.push_back(year / kYearsPerKyr);
    plot.stretches = AlternatingStretches(detail.crossings, detail.oldestIsBurial, detail.totalTime);
    plot.totalAge = detail.totalTime / kYearsPerKyr;
    if (const SimulationTableRow* row = BestRow(detail)) {
        plot.exposure = row->exposure / kYearsPerKyr;
        plot.burial = row->burial / kYearsPerKyr;
    }
    FinishHistory(plot, detail.years, detail.values);
    return plot;
}

PlotPoint ConstantExposurePoint(double be10Production, double al26Production, double years,
                                const HalfLives& halfLives)
{
    const NuclideConcentrations n =
        ExposureThenBurial({be10Production, al26Production, 0.0, 0.0, halfLives}, years, 0.0);
    return {n.be10, n.al26 / n.be10};
}

PlotPoint SteadyErosionPoint(double be10Production, double al26Production, double density, double freePath,
                             double erosion, const HalfLives& halfLives)
{
    const NuclideConcentrations n =
        SteadyErosionThenBurial({be10Production, al26Production, density, freePath, halfLives}, erosion, 0.0);
    return {n.be10, n.al26 / n.be10};
}

TwoNuclidePlot MakeTwoNuclidePlot(const SimulationInputs& inputs, const SimulationDetail& detail)
{
    TwoNuclidePlot plot;
    const double p10 = inputs.be10Production;
    const double p26 = inputs.al26Production;
    const HalfLives halfLives{inputs.be10HalfLife, inputs.al26HalfLife};
    for (double t : LogSpaced(kFirstExposureYears, kLastExposureYears, kExposureSamplesPerDecade))
        plot.constantExposure.push_back(ConstantExposurePoint(p10, p26, t, halfLives));
    for (double eps : LogSpaced(kFastestErosion, kSlowestErosion, kErosionSamplesPerDecade))
        plot.steadyErosion.push_back(SteadyErosionPoint(p10, p26, inputs.density, inputs.freePath, eps, halfLives));
    // No erosion at all: saturation, where both curves meet.
    plot.steadyErosion.push_back(SteadyErosionPoint(p10, p26, inputs.density, inputs.freePath, 0.0, halfLives));

    // The measured sample; the ratio's uncertainty from both concentrations'
    // relative uncertainties in quadrature.
    const double ratio = inputs.al26 / inputs.be10;
    plot.sample = {inputs.be10, ratio};
    plot.be10Sigma = inputs.be10Error;
    plot.ratioSigma = ratio * std::hypot(inputs.be10Error / inputs.be10, inputs.al26Error / inputs.al26);

    for (const NuclidePair& pair : detail.pairs)
        plot.path.push_back({pair.be10, pair.ratio});

    // 10Be axis: the path, the sample with its bars and saturation, in whole decades.
    double low = std::numeric_limits<double>::infinity();
    double high = 0.0;
    auto take = [&low, &high](double x) {
        if (x > 0.0 && std::isfinite(x)) {
            low = std::min(low, x);
            high = std::max(high, x);
        }
    };
    for (const PlotPoint& p : plot.path)
        take(p.x);
    take(plot.sample.x);
    take(plot.sample.x - plot.be10Sigma);
    take(plot.sample.x + plot.be10Sigma);
    take(plot.steadyErosion.back().x);
    plot.be10 = high > 0.0 ? Decades(low, high) : AxisRange{1.0, 10.0};

    // Ratio axis: everything drawn inside the 10Be range.
    double lowRatio = plot.sample.y - plot.ratioSigma;
    double highRatio = plot.sample.y + plot.ratioSigma;
    auto takeRatio = [&](const PlotPoint& p) {
        if (p.x >= plot.be10.minimum && p.x <= plot.be10.maximum && std::isfinite(p.y)) {
            lowRatio = std::min(lowRatio, p.y);
            highRatio = std::max(highRatio, p.y);
        }
    };
    for (const PlotPoint& p : plot.constantExposure)
        takeRatio(p);
    for (const PlotPoint& p : plot.steadyErosion)
        takeRatio(p);
    for (const PlotPoint& p : plot.path)
        takeRatio(p);
    plot.ratio = WithMargin(lowRatio, highRatio);

    plot.title = Format("\u00b2\u2076Al/\u00b9\u2070Be against \u00b9\u2070Be: measured %.0f \u00b1 %.0f atoms/g, "
                        "ratio %.3f \u00b1 %.3f",
                        plot.sample.x, plot.be10Sigma, plot.sample.y, plot.ratioSigma);
    return plot;
}

FitPlot MakeFitPlot(const SimulationDetail& detail)
{
    FitPlot plot;
    double highest = 0.0;
    for (const SimulationTableRow& row : detail.table) {
        plot.points.push_back({row.cutValue, row.ratioDifference});
        if (std::isfinite(row.ratioDifference))
            highest = std::max(highest, row.ratioDifference);
    }
    // Cut values in the curve's own units fall from first to last on a negated curve.
    if (!plot.points.empty())
        plot.cuts = {std::min(plot.points.front().x, plot.points.back().x),
                     std::max(plot.points.front().x, plot.points.back().x)};
    if (!(plot.cuts.maximum > plot.cuts.minimum))
        plot.cuts = WithMargin(plot.cuts.minimum, plot.cuts.maximum);
    plot.differences = {0.0, highest > 0.0 ? highest * (1.0 + kValueMargin) : 1.0};
    if (const SimulationTableRow* row = BestRow(detail)) {
        plot.hasBest = true;
        plot.best = {row->cutValue, row->ratioDifference};
        plot.title = Format("Ratio difference across cut values: best fit at %.5f (%.3f %%)", row->cutValue,
                            row->ratioDifference);
    } else {
        plot.title = "Ratio difference across cut values: no best fit";
    }
    return plot;
}

PlotSet MakeSimulationPlots(const SimulationInputs& inputs, const SimulationDetail& detail)
{
    PlotSet set;
    set.history = MakeSimulationHistoryPlot(detail);
    set.hasSimulation = true;
    set.twoNuclide = MakeTwoNuclidePlot(inputs, detail);
    set.fit = MakeFitPlot(detail);
    return set;
}

MonteCarloPlot MakeMonteCarloPlot(const MonteCarloResult& result)
{
    MonteCarloPlot plot;
    plot.title = Format("Monte Carlo (%d draws, seed %llu)", result.draws,
                        static_cast<unsigned long long>(result.seed));
    const struct {
        MonteCarloQuantity quantity;
        const char* name;
        double MonteCarloDraw::*years;
    } quantities[] = {{kMcExposure, "Exposure", &MonteCarloDraw::exposure},
                      {kMcBurial, "Burial", &MonteCarloDraw::burial},
                      {kMcTotal, "Total", &MonteCarloDraw::total}};
    for (const MonteCarloDraw& draw : result.samples)
        if (draw.be10 > 0.0)
            plot.cloud.push_back({draw.be10, draw.al26 / draw.be10});
    // Each quantity in a panel of its own, binned across its own values: an
    // exposure of a few kyr beside a burial of hundreds keeps its shape.
    for (const auto& q : quantities) {
        double low = std::numeric_limits<double>::infinity();
        double high = -low;
        for (const MonteCarloDraw& draw : result.samples)
            if (draw.ok) {
                low = std::min(low, draw.*q.years / kYearsPerKyr);
                high = std::max(high, draw.*q.years / kYearsPerKyr);
            }
        if (!(low <= high))
            low = high = 0.0;
        if (high - low <= 0.0)
            high = low + 1.0; // every draw alike: one bin's width of one kyr
        const double width = (high - low) / kMonteCarloBins;
        std::vector<int> counts(kMonteCarloBins, 0);
        for (const MonteCarloDraw& draw : result.samples)
            if (draw.ok) {
                const int bin = static_cast<int>((draw.*q.years / kYearsPerKyr - low) / width);
                ++counts[static_cast<std::size_t>(std::clamp(bin, 0, kMonteCarloBins - 1))];
            }
        MonteCarloHistogram histogram;
        histogram.name = q.name;
        histogram.outline.push_back({low, 0.0});
        double most = 1.0;
        for (int i = 0; i < kMonteCarloBins; ++i) {
            const double count = counts[static_cast<std::size_t>(i)];
            histogram.outline.push_back({low + i * width, count});
            histogram.outline.push_back({low + (i + 1) * width, count});
            most = std::max(most, count);
        }
        histogram.outline.push_back({high, 0.0});
        const MonteCarloSummary& summary = result.summary[static_cast<std::size_t>(q.quantity)];
        histogram.median = summary.median / kYearsPerKyr;
        histogram.p16 = summary.p16 / kYearsPerKyr;
        histogram.p84 = summary.p84 / kYearsPerKyr;
        histogram.ages = {low, high};
        histogram.draws = {0.0, most * (1.0 + kValueMargin)};
        plot.histograms.push_back(histogram);
    }
    return plot;
}

} // namespace qex
