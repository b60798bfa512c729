#include "proxy/SimulationCalculation.h"

#include "core/Constants.h"
#include "core/FileIdentity.h"
#include "core/Format.h"
#include "core/Message.h"
#include "proxy/ProxyResultLabels.h"
#include "proxy/SimulationSession.h"
#include "proxy/SimulationSite.h"

#include <array>
#include <cmath>

namespace qex {

namespace {

HalfLives HalfLivesOf(const SimulationInputs& in)
{
    return {in.be10HalfLife, in.al26HalfLife};
}

// Erosion rates are entered in cm/kyr and reach the engine in cm/yr.
CSimulationSession MakeSession(const SimulationInputs& in)
{
    return CSimulationSession(in.proxyFile, in.outputFile, in.be10Production, in.al26Production, in.density,
                              in.freePath, in.aerialErosion / kYearsPerKyr, in.glacialErosion / kYearsPerKyr,
                              WalkEvaluation::Fast, HalfLivesOf(in), in.exposureAboveCut);
}

// A batch row's session: the shared curves, the report kept or not made.
void PrepareBatchSession(CSimulationSession& session, SimulationBatchRow* batch)
{
    if (batch == nullptr)
        return;
    session.SetCurveCache(batch->curves);
    session.KeepReport(batch->keepReport ? &batch->report : nullptr);
}

// Shows why the measured values cannot give a simulation (zero production,
// 10Be at or above saturation, a ratio no burial explains...); false when
// there is nothing to say. The nine perturbed runs fail silently, as the
// engine does.
bool ExplainCentralFailure(const SimulationInputs& in)
{
    const SimulationParameters p = DeriveSimulationParameters(
        in.be10, in.be10Production, in.al26, in.al26Production, in.density, in.freePath,
        in.aerialErosion / kYearsPerKyr, in.glacialErosion / kYearsPerKyr, in.be10HalfLife, in.al26HalfLife);
    std::string reason = UnusableParametersMessage(p);
    if (reason.empty())
        reason = RatioAboveProductionMessage(p);
    if (!reason.empty())
        ShowMessage(reason);
    return !reason.empty();
}

bool HavePaths(const SimulationInputs& inputs, const SimulationBatchRow* batch)
{
    if (inputs.proxyFile.empty()) {
        ShowMessage("Please select a proxy curve file!");
        return false;
    }
    if (batch != nullptr)
        return true; // no report file
    if (inputs.outputFile.empty()) {
        ShowMessage("Please select an output file!");
        return false;
    }
    // The report must not replace the curve it is computed from.
    const FileClash clash = FindSameFile(
        {{"Output File", inputs.outputFile, FileRole::Output}, {"Proxy Curve", inputs.proxyFile, FileRole::Input}});
    if (!clash.message.empty()) {
        ShowMessage(clash.message, clash.detail);
        return false;
    }
    return true;
}

// The smallest and largest value of one quantity over the runs that gave it.
class CRange {
public:
    void Add(double value)
    {
        if (!m_any || value < m_min)
            m_min = value;
        if (!m_any || value > m_max)
            m_max = value;
        m_any = true;
    }
    // 0 when no run gave a value.
    double Min() const { return m_any ? m_min : 0.0; }
    double Max() const { return m_any ? m_max : 0.0; }

private:
    bool m_any = false;
    double m_min = 0.0;
    double m_max = 0.0;
};

} // namespace

const InputTable<SimulationInputs>& SimulationInputTable()
{
    using In = SimulationInputs;
    constexpr InputRange kConcentration{0.0, 100000000.0}; // atoms/g
    constexpr InputRange kUncertainty{0.0, 1e20};          // atoms/g
    constexpr InputRange kProduction{0.0, 100000.0};       // atoms/g/yr
    static const InputRow<In> rows[] = {
        {.name = "proxy", .controlId = 1023, .member = "m_strProxyFile", .label = "Proxy curve file",
         .kind = InputKind::FileToRead, .field = &In::proxyFile, .maxChars = 1000, .required = true,
         .help = "keyword Proxy_Data"},
        {.name = "report", .controlId = 1027, .member = "m_strOutputFile", .label = "Report file to write",
         .kind = InputKind::FileToWrite, .field = &In::outputFile, .required = true},
        {.name = "be10", .controlId = 1019, .member = "m_dBeN", .label = "Measured 10Be concentration",
         .unit = "atoms/g", .field = &In::be10, .range = kConcentration},
        {.name = "be10-err", .controlId = 1000, .member = "m_dBeNErr", .label = "Uncertainty of the 10Be concentration",
         .unit = "atoms/g", .field = &In::be10Error, .range = kUncertainty},
        {.name = "al26", .controlId = 1020, .member = "m_dAlN", .label = "Measured 26Al concentration",
         .unit = "atoms/g", .field = &In::al26, .range = kConcentration},
        {.name = "al26-err", .controlId = 1001, .member = "m_dAlNErr", .label = "Uncertainty of the 26Al concentration",
         .unit = "atoms/g", .field = &In::al26Error, .range = kUncertainty},
        {.name = "be10-production", .controlId = 1021, .member = "m_dBeP", .label = "10Be production rate",
         .unit = "atoms/g/yr", .field = &In::be10Production, .range = kProduction},
        {.name = "al26-production", .controlId = 1022, .member = "m_dAlP", .label = "26Al production rate",
         .unit = "atoms/g/yr", .field = &In::al26Production, .range = kProduction},
        {.name = "density", .controlId = 1030, .member = "m_dDensity", .label = "Rock density", .unit = "g/cm3",
         .field = &In::density, .range = InputRange{0.0, 100.0}},
        {.name = "free-path", .controlId = 1031, .member = "m_dFreePath", .label = "Attenuation free path",
         .unit = "g/cm2", .field = &In::freePath, .range = InputRange{100.0, 500.0}},
        {.name = "aerial-erosion", .controlId = 1032, .member = "m_dAerialE", .label = "Erosion rate while exposed",
         .unit = "cm/kyr", .field = &In::aerialErosion, .range = InputRange{0.0, 1000.0}},
        {.name = "glacial-erosion", .controlId = 1033, .member = "m_dGlacialE", .label = "Erosion rate while buried",
         .unit = "cm/kyr", .field = &In::glacialErosion, .range = InputRange{0.0, 10000.0}},
        {.name = "single", .label = "Single calculation", .kind = InputKind::Flag, .field = &In::single,
         .help = "one run with the measured values, no uncertainty runs"},
        {.name = "table", .label = "CSV file to write", .kind = InputKind::FileToWrite, .field = &In::tableFile,
         .help = "the central run's ratio difference per cut value and its best history's 10Be/26Al pairs"},
        Be10HalfLifeRow(&In::be10HalfLife),
        Al26HalfLifeRow(&In::al26HalfLife),
        {.name = "exposure-above-cut", .controlId = 1041, .member = "m_bExposureAboveCut",
         .label = "Exposure above the cut", .kind = InputKind::Flag, .field = &In::exposureAboveCut,
         .help = "for a curve where high means warm (sea level, ice-core temperature or deltaD): the calculation "
                 "on the curve with every value negated, cut values in the curve's own units"},
        {.name = "be10-production-err", .label = "Uncertainty of the 10Be production rate", .unit = "atoms/g/yr",
         .field = &In::be10ProductionError, .range = kProduction,
         .help = "drawn in the Monte Carlo; 0 keeps the rate fixed"},
        {.name = "al26-production-err", .label = "Uncertainty of the 26Al production rate", .unit = "atoms/g/yr",
         .field = &In::al26ProductionError, .range = kProduction,
         .help = "drawn in the Monte Carlo; 0 keeps the rate fixed"},
        {.name = "production-scaling-err", .label = "Shared error of the production rates' scaling", .unit = "%",
         .field = &In::productionScalingError, .range = InputRange{0.0, 50.0},
         .help = "drawn in the Monte Carlo: one factor per draw scales both production rates; 0 keeps it at 1"},
        {.name = "monte-carlo", .label = "Monte Carlo draws", .field = &In::monteCarloDraws,
         .range = InputRange{0.0, kMaxMonteCarloDraws},
         .help = "a whole number; after the usual block, the block \"Monte Carlo (D draws, seed S)\" with the "
                 "median, -/+ to the 16th and 84th percentiles, the 95% interval, mean and sd of cut value, ratio "
                 "difference, exposure, burial and total age (kyr), and the shares of draws matched and failed; "
                 "0 for none",
         .whole = true},
        {.name = "seed", .label = "Monte Carlo seed", .field = &In::seed, .range = InputRange{0.0, kMaxMonteCarloSeed},
         .help = "a whole number; the same seed gives the same draws on any number of threads", .whole = true},
        {.name = "samples", .label = "CSV file of the Monte Carlo draws to write", .kind = InputKind::FileToWrite,
         .field = &In::samplesFile,
         .help = "one row per draw: the drawn concentrations and production rates and its best fit"},
        AmsStandardRow(kBe10, &In::be10Standard),
        AmsStandardRow(kAl26, &In::al26Standard),
        ConstantsRow(&In::constants),
        // The site, for production rates computed instead of given (the dialog's "From site..." asks
        // for them in a window of its own).
        {.name = "latitude", .label = "Site latitude", .unit = "degrees",
         .field = &In::latitude, .range = InputRange{-90.0, 90.0},
         .help = "north positive; computes both production rates from the site (Stone 2000 with the constant "
                 "set's rates, the thickness factor, the shielding) instead of be10-production and al26-production",
         .listedAtDefault = false},
        {.name = "altitude", .label = "Site altitude", .unit = "m",
         .field = &In::altitude, .range = InputRange{0.0, 100000.0}, .help = "with latitude",
         .listedAtDefault = false},
        AtmosphereRow(&In::atmosphere),
        PressureRow(&In::pressure),
        {.name = "thickness", .label = "Sample thickness", .unit = "cm",
         .field = &In::thickness, .range = InputRange{0.0, 1000.0}, .help = "with latitude", .listedAtDefault = false},
        {.name = "shield", .label = "Topographic shielding factor",
         .boxUnit = "fraction 0–1", .field = &In::shield, .range = InputRange{0.0, 1.0}, .help = "with latitude",
         .listedAtDefault = false},
    };
    static const InputTable<In> table(rows, CompleteSimulationSite);
    return table;
}

namespace {

bool WithUncertainties(const SimulationResult& r)
{
    return !r.single;
}

// A row of the uncertainties' part of the block, which the single calculation has not.
OutputRow<SimulationResult> Ranged(OutputRow<SimulationResult> row)
{
    row.shown = WithUncertainties;
    return row;
}

std::string SimulationHeading(const SimulationResult& r, int number)
{
    return r.single ? Format("Calculation Result %d", number) : Format("Calculation Results %d: Mean Value", number);
}

} // namespace

const OutputTable<SimulationResult>& SimulationOutputTable()
{
    using R = SimulationResult;
    // The ranges: durations and ages in kyr; cut value and ratio difference as they are.
    constexpr std::string_view kRange = "%s  :   %-10.5f";
    static const OutputRow<R> rows[] = {
        {.label = kCutValueLabel, .format = "%s  :   %-10.5f", .name = "cut_value", .field = &R::cutValue},
        {.label = kRatioDifferenceLabel, .format = "%s :   %-10.3f", .name = "ratio_diff_percent", .unit = "%",
         .field = &R::ratioDifference},
        AgeRow(kExposureAgeLabel, "exposure_kyr", "%s  :   %-10.3f", &R::exposure),
        AgeRow(kBurialAgeLabel, "burial_kyr", "%s         :   %-10.3f", &R::burial),
        AgeRow(kTotalAgeLabel, "total_kyr", "%s        :   %-10.3f", &R::total),
        {.label = "Al-Be Ratio", .format = "%s              :   %-10.3f", .name = "ratio", .field = &R::ratio},
        CrossingsRow(&R::crossings),
        CrossingYearsRow(&R::crossingYears),
        Ranged({.kind = OutputKind::Line, .format = "\n"}),
        Ranged({.kind = OutputKind::Line, .format = "Calculation Results %d: Uncertainties"}),
        Ranged(AgeRow("Total Exposure Minimum", "exposure_min_kyr", kRange, &R::exposureMin)),
        Ranged(AgeRow("Total Exposure Maximum", "exposure_max_kyr", kRange, &R::exposureMax)),
        Ranged(AgeRow("Total Burial Minimum", "burial_min_kyr", kRange, &R::burialMin)),
        Ranged(AgeRow("Total Burial Maximum", "burial_max_kyr", kRange, &R::burialMax)),
        Ranged(AgeRow("Total Duration Minimum", "total_min_kyr", kRange, &R::totalMin)),
        Ranged(AgeRow("Total Duration Maximum", "total_max_kyr", kRange, &R::totalMax)),
        Ranged(AgeRow("First_Cut Minimum", "first_cut_min_kyr", kRange, &R::firstCutMin)),
        Ranged(AgeRow("First_Cut Maximum", "first_cut_max_kyr", kRange, &R::firstCutMax)),
        Ranged({.label = "Cutoff Value Minimum", .format = kRange, .name = "cut_value_min", .field = &R::cutValueMin}),
        Ranged({.label = "Cutoff Value Maximum", .format = kRange, .name = "cut_value_max", .field = &R::cutValueMax}),
        Ranged({.label = "Ratio Difference Minimum", .format = kRange, .name = "ratio_diff_min_percent", .unit = "%",
                .field = &R::ratioDifferenceMin}),
        Ranged({.label = "Ratio Difference Maximum", .format = kRange, .name = "ratio_diff_max_percent", .unit = "%",
                .field = &R::ratioDifferenceMax}),
        // Columns of the CSV and JSON alone: the messages say it in the list.
        {.kind = OutputKind::Count, .name = "matched", .field = &R::matched},
        {.kind = OutputKind::Count, .name = "lower_limit", .field = &R::lowerLimit},
        ProvenanceRow<R, &R::constants>(),
        Ranged({.kind = OutputKind::Line, .format = "\n"}),
    };
    static const OutputTable<R> table{rows, SimulationHeading};
    return table;
}

namespace {
// The run with the measured values, whose report stays on disk. False, after
// the messages, when it has no best fit or the report cannot be written, and
// silently when the user stopped the calculation (nothing appended or written).
// "Calculation Error!" is said only when no message since `said` (the
// calculation's start) has explained the failure already.
bool RunCentral(CSimulationSession& session, const SimulationInputs& inputs, SimulationBestFit& best,
                SimulationDetail* detail, std::uint64_t said)
{
    const bool found = session.Run(inputs.be10, inputs.al26, best, detail);
    if (session.Cancelled())
        return false;
    const bool written = session.WriteReport();
    if (!found || !written) {
        if (!ExplainCentralFailure(inputs) && MessagesSaid() == said)
            ShowMessage("Calculation Error!");
        return false;
    }
    return true;
}
} // namespace

namespace {

// The central run's best fit in the block.
void SetBestFit(SimulationResult& result, const SimulationBestFit& best)
{
    result.cutValue = best.cutValue;
    result.ratioDifference = best.ratioDifference;
    result.exposure = best.exposureTime;
    result.burial = best.burialTime;
    result.total = best.totalTime;
    result.ratio = best.calculatedRatio;
    result.crossings = best.cuttingNumber;
    result.crossingYears = best.cuttingAges;
    result.offCurve = best.offCurve;
    result.lowerLimit = best.lowerLimit ? 1 : 0;
    result.matched = best.offCurve ? 0 : 1;
}

// The calculation with uncertainties (nine perturbed runs, then the central
// one) or the single one. False, with nothing computed, as the Append functions say.
bool ComputeSimulation(const SimulationInputs& inputs, bool single, SimulationResult& result, SimulationDetail* detail,
                       const SimulationProgress& progress, SimulationBatchRow* batch)
{
    const std::uint64_t said = MessagesSaid();
    if (!HavePaths(inputs, batch))
        return false;
    CSimulationSession session = MakeSession(inputs);
    PrepareBatchSession(session, batch);
    session.SetBe10Uncertainty(inputs.be10Error);
    constexpr int kRuns = 10; // nine perturbed runs and the central one
    session.SetProgress(progress, single ? 1 : kRuns);

    // Exposure, burial, total, first cutting age, cut value, ratio difference.
    std::array<CRange, 6> ranges;
    bool runOffCurve = false;
    for (int a = -1; !single && a <= 1; ++a) {
        for (int b = -1; b <= 1; ++b) {
            SimulationBestFit run;
            if (!session.Run(inputs.be10 + a * inputs.be10Error, inputs.al26 + b * inputs.al26Error, run))
                continue;
            runOffCurve = runOffCurve || run.offCurve;
            ranges[0].Add(run.exposureTime);
            ranges[1].Add(run.burialTime);
            ranges[2].Add(run.totalTime);
            // A history without crossings has no first cutting age.
            if (run.cuttingNumber > 0)
                ranges[3].Add(run.cuttingAges.front());
            ranges[4].Add(run.cutValue);
            ranges[5].Add(run.ratioDifference);
        }
    }

    // The central run; after the nine, the session gives it from the unperturbed one.
    SimulationBestFit central;
    if (!RunCentral(session, inputs, central, detail, said))
        return false;
    result = SimulationResult();
    result.single = single;
    SetBestFit(result, central);
    result.offCurve = result.offCurve || runOffCurve;
    using R = SimulationResult;
    static constexpr double R::*kRangeFields[6][2] = {
        {&R::exposureMin, &R::exposureMax}, {&R::burialMin, &R::burialMax},
        {&R::totalMin, &R::totalMax},       {&R::firstCutMin, &R::firstCutMax},
        {&R::cutValueMin, &R::cutValueMax}, {&R::ratioDifferenceMin, &R::ratioDifferenceMax}};
    for (std::size_t q = 0; q < ranges.size(); ++q) {
        result.*kRangeFields[q][0] = ranges[q].Min();
        result.*kRangeFields[q][1] = ranges[q].Max();
    }
    result.constants = SimulationProvenance(inputs);
    return true;
}

bool AppendComputed(const SimulationInputs& measured, bool single, CResultList& list, SimulationDetail* detail,
                    const SimulationProgress& progress, SimulationBatchRow* batch, COutputBlocks* blocks)
{
    // The concentrations as the production rates' standards have them, before anything else.
    if (!SiteHasProduction(measured))
        return false;
    const SimulationInputs inputs = NormalisedSimulationInputs(measured);
    SimulationResult result;
    if (!ComputeSimulation(inputs, single, result, detail, progress, batch))
        return false;
    AppendResult(list, SimulationOutputTable(), result, blocks);
    // Said once, after the block, when the listed history is not a match.
    if (result.offCurve)
        ShowMessage(kOffCurveMessage);
    if (result.lowerLimit)
        ShowMessage(kLowerLimitMessage);
    return true;
}

} // namespace

bool AppendSimulationWithUncertainties(const SimulationInputs& inputs, CResultList& list, SimulationDetail* detail,
                                       const SimulationProgress& progress, SimulationBatchRow* batch,
                                       COutputBlocks* blocks)
{
    return AppendComputed(inputs, false, list, detail, progress, batch, blocks);
}

bool AppendSingleSimulation(const SimulationInputs& inputs, CResultList& list, SimulationDetail* detail,
                            const SimulationProgress& progress, SimulationBatchRow* batch, COutputBlocks* blocks)
{
    return AppendComputed(inputs, true, list, detail, progress, batch, blocks);
}

bool AppendMonteCarlo(const SimulationInputs& measured, CResultList& list, MonteCarloResult& result,
                      const MonteCarloProgress& progress, int threads, COutputBlocks* blocks)
{
    if (!SiteHasProduction(measured))
        return false;
    const SimulationInputs inputs = NormalisedSimulationInputs(measured);
    if (inputs.monteCarloDraws != std::floor(inputs.monteCarloDraws) || inputs.seed != std::floor(inputs.seed)) {
        ShowMessage("The number of Monte Carlo draws and the seed must be whole numbers!");
        return false;
    }
    SimulationCurve curve;
    std::string message;
    std::string detail;
    if (!LoadSimulationCurve(inputs.proxyFile, curve, message, &detail, inputs.exposureAboveCut)) {
        ShowMessage(message, detail);
        return false;
    }
    if (const std::string beyond = YearsBeyondMessage(curve, kAgeOfEarthYears); !beyond.empty()) {
        ShowMessage(beyond);
        return false;
    }
    MonteCarloSample sample;
    sample.be10 = inputs.be10;
    sample.be10Error = inputs.be10Error;
    sample.al26 = inputs.al26;
    sample.al26Error = inputs.al26Error;
    sample.be10Production = inputs.be10Production;
    sample.be10ProductionError = inputs.be10ProductionError;
    sample.al26Production = inputs.al26Production;
    sample.al26ProductionError = inputs.al26ProductionError;
    sample.productionScalingError = inputs.productionScalingError;
    sample.density = inputs.density;
    sample.freePath = inputs.freePath;
    // Erosion rates are entered in cm/kyr and reach the engine in cm/yr.
    sample.aerialErosion = inputs.aerialErosion / kYearsPerKyr;
    sample.glacialErosion = inputs.glacialErosion / kYearsPerKyr;
    sample.halfLives = HalfLivesOf(inputs);
    if (!RunMonteCarlo(curve, sample, static_cast<int>(inputs.monteCarloDraws),
                       static_cast<std::uint64_t>(inputs.seed), result, threads, progress))
        return false;
    AppendResult(list, MonteCarloOutputTable(), MonteCarloBlockOf(result), blocks);
    return true;
}

bool AppendSimulation(const SimulationInputs& inputs, CResultList& list, SimulationDetail* detail,
                      const SimulationProgress& progress, SimulationBatchRow* batch, COutputBlocks* blocks)
{
    return AppendComputed(inputs, inputs.single, list, detail, progress, batch, blocks);
}

} // namespace qex
