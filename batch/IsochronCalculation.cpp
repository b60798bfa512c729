#include "batch/IsochronCalculation.h"

#include "batch/GroupStatistics.h"
#include "batch/SampleFile.h"
#include "burial/TwoNuclidePoint.h"
#include "core/ConstantSets.h"
#include "core/Format.h"
#include "core/HalfLives.h"
#include "core/Message.h"
#include "proxy/MonteCarlo.h"
#include "proxy/SimulationCalculation.h"

#include <cmath>

namespace qex {

namespace {

constexpr InputRange kPostBurialProduction{0.0, 100000.0}; // atoms/g/yr, as the samples' columns

// P26/P10 of the set the inputs choose.
double SetProductionRatio(std::string_view setName)
{
    const ConstantSet* set = FindConstantSet(setName);
    if (set == nullptr)
        set = FindConstantSet(kOriginalConstants);
    return set->al26Production.value / set->be10Production.value;
}

std::string IsochronCheck(IsochronInputs& in, const GivenInputs& given)
{
    if (!given("production-ratio"))
        in.productionRatio = SetProductionRatio(in.constants);
    if (in.monteCarloDraws != std::floor(in.monteCarloDraws) || in.seed != std::floor(in.seed))
        return "--monte-carlo and --seed take whole numbers";
    return {};
}

bool PostBurial(const IsochronResult& r)
{
    return r.postBurial;
}

bool AnyAge(const IsochronMonteCarloBlock& b)
{
    return b.any;
}

bool NoAge(const IsochronMonteCarloBlock& b)
{
    return !b.any;
}

std::string MonteCarloHeading(const IsochronMonteCarloBlock& b, int)
{
    return Format("Monte Carlo (%d draws, seed %llu)", b.draws, static_cast<unsigned long long>(b.seed));
}

} // namespace

const InputTable<IsochronInputs>& IsochronInputTable()
{
    using In = IsochronInputs;
    static const InputRow<In> rows[] = {
        {.name = "input", .controlId = 1000, .member = "m_strInput", .label = "File of samples of one horizon",
         .kind = InputKind::FileToRead, .field = &In::input, .required = true,
         .help = "one sample a row, in any format batch reads: sample, be10, be10-err, al26, al26-err (atoms/g, "
                 "1 sigma), optionally post-burial-be10-production and post-burial-al26-production (atoms/g/yr)"},
        {.name = "production-ratio", .controlId = 1001, .member = "m_dR0", .label = "26Al/10Be production ratio",
         .field = &In::productionRatio, .range = InputRange{1.0, 20.0},
         .help = "R0; default: the ratio of the constant set's 26Al and 10Be production rates (6.098 original, "
                 "6.958 current)"},
        {.name = "production-ratio-err", .controlId = 1002, .member = "m_dR0Err",
         .label = "Uncertainty of the production ratio (1 sigma)", .field = &In::productionRatioError,
         .range = InputRange{0.0, 5.0}},
        ConstantsRow<In>(&In::constants),
        Be10HalfLifeRow(&In::be10HalfLife, 1003, "m_dBe10HalfLife"),
        Al26HalfLifeRow(&In::al26HalfLife, 1004, "m_dAl26HalfLife"),
        {.name = "post-burial-be10-production", .controlId = 1005, .member = "m_dBePostBurial",
         .label = "10Be production at the samples' depth since burial", .unit = "atoms/g/yr",
         .field = &In::be10PostBurialProduction, .range = kPostBurialProduction,
         .help = "for rows without their own; with post-burial production the age is corrected for it, refitting "
                 "until it settles (Balco & Rovey 2008)"},
        {.name = "post-burial-al26-production", .controlId = 1006, .member = "m_dAlPostBurial",
         .label = "26Al production at the samples' depth since burial", .unit = "atoms/g/yr",
         .field = &In::al26PostBurialProduction, .range = kPostBurialProduction,
         .help = "for rows without their own"},
        {.name = "monte-carlo", .controlId = 1007, .member = "m_dDraws", .label = "Monte Carlo draws",
         .field = &In::monteCarloDraws, .range = InputRange{0.0, kMaxMonteCarloDraws},
         .help = "a whole number; after the usual block, the block \"Monte Carlo (D draws, seed S)\": every "
                 "sample's 10Be and 26Al and R0 drawn from their uncertainties, the burial age's median, 68 % and "
                 "95 % intervals, and the shares of draws without an age",
         .whole = true},
        {.name = "seed", .controlId = 1008, .member = "m_dSeed", .label = "Monte Carlo seed", .field = &In::seed,
         .range = InputRange{0.0, kMaxMonteCarloSeed},
         .help = "a whole number; the same seed gives the same draws on any number of threads", .whole = true},
    };
    static const InputTable<In> table(rows, IsochronCheck);
    return table;
}

const OutputTable<IsochronResult>& IsochronOutputTable()
{
    using R = IsochronResult;
    constexpr std::string_view kRatio = "%-30s:   %.5f";
    constexpr std::string_view kAtoms = "%-30s:   %.1f";
    constexpr std::string_view kKyr = "%-30s:   %.3f";
    static const OutputRow<R> rows[] = {
        {.kind = OutputKind::Count, .label = "Samples", .format = "%-30s:   %d", .name = "isochron_samples",
         .field = &R::samples},
        {.label = "Isochron slope (26Al/10Be)", .format = kRatio, .name = "isochron_slope", .field = &R::slope},
        {.label = "Slope error (1 sigma)", .format = kRatio, .name = "isochron_slope_err", .field = &R::slopeError},
        {.label = "Intercept (26Al atoms/g)", .format = kAtoms, .name = "isochron_intercept", .unit = "atoms/g",
         .field = &R::intercept},
        {.label = "Intercept error (1 sigma)", .format = kAtoms, .name = "isochron_intercept_err", .unit = "atoms/g",
         .field = &R::interceptError},
        {.name = "isochron_slope_intercept_cov", .unit = "atoms/g", .field = &R::covariance},
        {.label = "MSWD", .format = "%-30s:   %.3f", .name = "isochron_mswd", .field = &R::mswd},
        {.label = "P(chi-square above)", .format = "%-30s:   %.4f", .name = "isochron_mswd_probability",
         .field = &R::probability},
        {.label = "Production ratio R0", .format = "%-30s:   %.4f", .name = "production_ratio",
         .field = &R::productionRatio},
        {.label = "Production ratio error", .format = "%-30s:   %.4f", .name = "production_ratio_err",
         .field = &R::productionRatioError},
        {.label = "Isochron Burial Age(kyr)", .format = kKyr, .name = "isochron_burial_age_kyr", .unit = "kyr",
         .scale = kYearsPerKyr, .field = &R::age},
        {.label = "Burial age error(kyr)", .format = kKyr, .name = "isochron_burial_age_err_kyr", .unit = "kyr",
         .scale = kYearsPerKyr, .field = &R::ageError},
        {.label = "Error with sqrt(MSWD)(kyr)", .format = kKyr, .name = "isochron_burial_age_err_mswd_kyr",
         .unit = "kyr", .scale = kYearsPerKyr, .field = &R::ageErrorScaled},
        {.kind = OutputKind::Count, .label = "Post-burial refits", .format = "%-30s:   %d",
         .name = "isochron_post_burial_refits", .field = &R::refits, .shown = PostBurial},
        ProvenanceRow<R, &R::constants>(),
    };
    static const OutputTable<R> table{rows};
    return table;
}

const OutputTable<IsochronMonteCarloBlock>& IsochronMonteCarloOutputTable()
{
    using R = IsochronMonteCarloBlock;
    constexpr std::string_view kShare = "%-18s:   %.1f %% of draws";
    static const OutputRow<R> rows[] = {
        {.kind = OutputKind::Count, .name = "mc_draws", .field = &R::draws},
        {.name = "mc_seed", .field = &R::seed},
        {.kind = OutputKind::Summary, .label = "Burial Age(kyr)", .format = "%.3f", .name = "mc_burial_age_kyr",
         .unit = "kyr", .scale = kYearsPerKyr, .field = &R::age, .shown = AnyAge},
        {.kind = OutputKind::Line, .format = "No draw gave an age", .shown = NoAge},
        {.label = "With an age", .format = kShare, .name = "mc_age_percent", .unit = "%", .field = &R::agePercent},
        {.label = "Slope >= R0", .format = kShare, .name = "mc_not_buried_percent", .unit = "%",
         .field = &R::notBuriedPercent},
        {.label = "No fit", .format = kShare, .name = "mc_no_fit_percent", .unit = "%", .field = &R::noFitPercent},
        {.kind = OutputKind::Line, .format = "\n"},
    };
    static const OutputTable<R> table{rows, MonteCarloHeading, false};
    return table;
}

bool ReadIsochronSamples(const IsochronInputs& inputs, std::vector<IsochronSample>& samples,
                         std::vector<std::string>& names, std::string& error)
{
    // The two-nuclide diagram's columns: its production rates are read and not used.
    MeasuredPair prototype;
    prototype.be10PostBurialProduction = inputs.be10PostBurialProduction;
    prototype.al26PostBurialProduction = inputs.al26PostBurialProduction;
    std::vector<SampleRow<MeasuredPair>> rows;
    if (!ReadSampleFile(inputs.input, "isochron", MeasuredPairTable(), prototype, rows, error))
        return false;
    samples.clear();
    names.clear();
    for (const SampleRow<MeasuredPair>& row : rows) {
        const MeasuredPair& p = row.values;
        samples.push_back({p.be10, p.be10Error, p.al26, p.al26Error, p.be10PostBurialProduction,
                           p.al26PostBurialProduction});
        names.push_back(row.name);
    }
    return true;
}

IsochronSettings IsochronSettingsOf(const IsochronInputs& inputs)
{
    return {inputs.productionRatio, inputs.productionRatioError, {inputs.be10HalfLife, inputs.al26HalfLife}};
}

bool AppendIsochronAge(const IsochronInputs& in, CResultList& list, COutputBlocks* blocks, int threads,
                       const std::function<bool()>& running)
{
    std::vector<IsochronSample> samples;
    std::vector<std::string> names;
    std::string error;
    if (!ReadIsochronSamples(in, samples, names, error)) {
        ShowMessage("Can not read the samples: " + error);
        return false;
    }
    const IsochronSettings settings = IsochronSettingsOf(in);
    const IsochronSolution solution = SolveIsochron(samples, settings);
    if (solution.outcome != IsochronOutcome::Age) {
        ShowMessage("No isochron burial age: " + solution.failure + ".");
        return false;
    }
    IsochronResult result;
    result.samples = solution.line.points;
    result.slope = solution.line.slope;
    result.slopeError = solution.line.slopeError;
    result.intercept = solution.line.intercept;
    result.interceptError = solution.line.interceptError;
    result.covariance = solution.line.covariance;
    result.mswd = solution.line.mswd;
    result.probability = ChiSquareUpperTail(solution.line.chiSquare, solution.line.points - 2);
    result.productionRatio = settings.productionRatio;
    result.productionRatioError = settings.productionRatioError;
    result.age = solution.age;
    result.ageError = solution.ageError;
    result.ageErrorScaled = solution.ageErrorScaled;
    result.refits = solution.refits;
    result.postBurial = solution.postBurial;
    result.constants = HalfLifeProvenance({in.be10HalfLife, in.al26HalfLife});
    AddConstantSetProvenance(result.constants, in.constants);
    AppendResult(list, IsochronOutputTable(), result, blocks);

    const int draws = static_cast<int>(in.monteCarloDraws);
    if (draws <= 0)
        return true;
    const auto seed = static_cast<std::uint64_t>(in.seed);
    IsochronDraws drawn;
    const bool finished = DrawIsochronAges(
        samples, settings, draws,
        [seed](std::uint64_t d, int count) { return MonteCarloNormalDeviates(seed, d, count); }, drawn, threads,
        [&running](int, int) { return !running || running(); });
    if (!finished)
        return false;
    IsochronMonteCarloBlock block;
    block.draws = drawn.draws;
    block.seed = in.seed;
    block.any = !drawn.ages.empty();
    block.age = SummariseDraws(drawn.ages);
    block.agePercent = 100.0 * static_cast<double>(drawn.ages.size()) / draws;
    block.notBuriedPercent = 100.0 * drawn.notBuried / draws;
    block.noFitPercent = 100.0 * drawn.noFit / draws;
    AppendResult(list, IsochronMonteCarloOutputTable(), block, blocks);
    return true;
}

} // namespace qex
