#include "burial/BurialAgeCalculator.h"

#include "burial/MuonProduction.h"
#include "core/AmsStandards.h"
#include "core/Concurrency.h"
#include "core/ConstantSets.h"
#include "core/Format.h"
#include "core/HalfLives.h"
#include "core/Message.h"
#include "proxy/MonteCarlo.h"
#include "proxy/SimulationCalculation.h"
#include "proxy/SimulationSite.h"
#include "scaling/Atmosphere.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qex {

namespace {

constexpr std::string_view kSteadyErosion = "steady-erosion";
constexpr std::string_view kExposure = "exposure";
constexpr std::string_view kSourceChoices[] = {kSteadyErosion, kExposure};

constexpr double kYearsPerMyr = 1.0e6;
constexpr double kCmPerYrPerMetrePerMyr = 1e-4; // 1 m/Myr = 1e-4 cm/yr
constexpr double kCmPerMetre = 100.0;

BurialSourceKind SourceKindOf(const BurialAgeInputs& in)
{
    return in.source == kExposure ? BurialSourceKind::Exposure : BurialSourceKind::SteadyErosion;
}

// The inputs the simulation's site and provenance read.
SimulationInputs SiteOf(const BurialAgeInputs& in)
{
    SimulationInputs site;
    site.be10Production = in.be10Production;
    site.al26Production = in.al26Production;
    site.density = in.density;
    site.be10HalfLife = in.be10HalfLife;
    site.al26HalfLife = in.al26HalfLife;
    site.be10Standard = in.be10Standard;
    site.al26Standard = in.al26Standard;
    site.constants = in.constants;
    site.latitude = in.latitude;
    site.altitude = in.altitude;
    site.atmosphere = in.atmosphere;
    site.pressure = in.pressure;
    site.thickness = in.thickness;
    site.shield = in.shield;
    return site;
}

std::string BurialAgeCheck(BurialAgeInputs& in, const GivenInputs& given)
{
    SimulationInputs site = SiteOf(in);
    if (std::string why = CompleteSimulationSite(site, given); !why.empty())
        return why;
    in.be10Production = site.be10Production;
    in.al26Production = site.al26Production;
    in.siteError = site.siteError;

    const bool depth = given("burial-depth"), metres = given("burial-depth-m");
    const bool production = given("post-burial-be10-production") || given("post-burial-al26-production");
    if (depth && metres)
        return "Give the burial depth in g/cm2 (burial-depth) or in m (burial-depth-m), not both.";
    if ((depth || metres) && production)
        return "Give the burial depth or the post-burial production rates, not both.";
    return {};
}

// The sample's source, concentrations and production after burial as the solver takes them.
struct BurialProblem {
    BurialSource source;
    BurialSourceKind kind = BurialSourceKind::SteadyErosion;
    NuclideConcentrations measured, errors;
    PostBurialProduction postBurial;
    double depth = 0.0; // g/cm2
};

BurialProblem ProblemOf(const BurialAgeInputs& in)
{
    BurialProblem p;
    p.source = {in.be10Production, in.al26Production, in.density, in.freePath, {in.be10HalfLife, in.al26HalfLife}};
    p.kind = SourceKindOf(in);
    const Concentration be10 = NormaliseConcentration(kBe10, in.be10Standard, {in.be10, in.be10Error});
    const Concentration al26 = NormaliseConcentration(kAl26, in.al26Standard, {in.al26, in.al26Error});
    p.measured = {be10.value, al26.value};
    p.errors = {be10.error, al26.error};
    p.depth = in.burialDepthMetres > 0.0 ? in.burialDepthMetres * kCmPerMetre * in.density : in.burialDepth;
    if (p.depth > 0.0)
        // The burial site's surface is taken to produce as the source did.
        p.postBurial = {ProductionAtDepth(kBe10, in.be10Production, p.depth, in.freePath),
                        ProductionAtDepth(kAl26, in.al26Production, p.depth, in.freePath)};
    else
        p.postBurial = {in.postBurialBe10Production, in.postBurialAl26Production};
    return p;
}

Provenance BurialProvenance(const BurialAgeInputs& in, const BurialProblem& p)
{
    // The half-lives, set, standards and site's production rates, named as the simulation names them.
    Provenance provenance = SimulationProvenance(SiteOf(in));
    provenance.push_back({"free_path", "g/cm2", in.freePath, ""});
    if (p.depth > 0.0)
        provenance.push_back({"post_burial_muons", "", std::string("Braucher et al. (2011)"),
                              "Muons at depth  :   Braucher et al. (2011), neutrons, slow and fast muons"});
    return provenance;
}

bool Solved(const BurialAgeResult& r)
{
    return r.outcome == static_cast<int>(BurialOutcome::Solved);
}
bool SolvedSteady(const BurialAgeResult& r)
{
    return Solved(r) && !r.exposureSource;
}
bool SolvedExposure(const BurialAgeResult& r)
{
    return Solved(r) && r.exposureSource;
}
bool SteadySource(const BurialAgeResult& r)
{
    return !r.exposureSource;
}
bool ExposureSource(const BurialAgeResult& r)
{
    return r.exposureSource;
}
bool NoBurial(const BurialAgeResult& r)
{
    return r.outcome == static_cast<int>(BurialOutcome::NoBurial);
}
bool Buried(const BurialAgeResult& r)
{
    return r.burialDepth > 0.0;
}
bool PostBurial(const BurialAgeResult& r)
{
    return r.postBurialBe10 > 0.0 || r.postBurialAl26 > 0.0;
}

// Why no burial age: the message of each outcome but Solved and NoBurial.
std::string FailureMessage(const BurialSolution& s)
{
    switch (s.outcome) {
    case BurialOutcome::AboveProductionRatio:
        return Format("The 26Al/10Be ratio %.4f is above the production ratio %.4f: no history of production and "
                      "decay reaches it, so there is no burial age. Check the concentrations, their standards and "
                      "the production rates.",
                      s.measuredRatio, s.productionRatio);
    case BurialOutcome::AboveSaturation:
        return "The 10Be concentration is at or above what the source holds at saturation (P/lambda): no burial "
               "age.";
    case BurialOutcome::BelowSaturatedBurial:
        return Format("The 26Al/10Be ratio %.4f is below what burial of a saturated source reaches at this 10Be "
                      "(no erosion or exposure explains it, or the burial exceeds %.0f Myr): no burial age.",
                      s.measuredRatio, kMaxBurialYears / kYearsPerMyr);
    case BurialOutcome::NoConvergence:
        return "The burial age did not converge: no burial age.";
    default:
        return "A burial age needs positive concentrations, production rates and half-lives (and a density and "
               "attenuation length above 0 for steady erosion): no burial age.";
    }
}

std::string BurialMonteCarloHeading(const BurialMonteCarloBlock& b, int)
{
    return Format("Monte Carlo (%d draws, seed %llu)", b.draws, static_cast<unsigned long long>(b.seed));
}

bool AnyDraw(const BurialMonteCarloBlock& b)
{
    return b.any;
}
bool AnySteady(const BurialMonteCarloBlock& b)
{
    return b.any && !b.exposureSource;
}
bool AnyExposure(const BurialMonteCarloBlock& b)
{
    return b.any && b.exposureSource;
}
bool NoDraw(const BurialMonteCarloBlock& b)
{
    return !b.any;
}

} // namespace

const InputTable<BurialAgeInputs>& BurialAgeInputTable()
{
    using In = BurialAgeInputs;
    constexpr InputRange kConcentration{0.0, 1e10}; // atoms/g
    constexpr InputRange kProduction{0.0, 100000.0}; // atoms/g/yr
    static const InputRow<In> rows[] = {
        {.name = "be10", .controlId = 1001, .member = "m_dBe10", .label = "Measured 10Be concentration", .unit = "atoms/g", .field = &In::be10,
         .range = kConcentration},
        {.name = "be10-err", .controlId = 1002, .member = "m_dBe10Err", .label = "Uncertainty of the 10Be concentration", .unit = "atoms/g",
         .field = &In::be10Error, .range = kConcentration, .help = "1 sigma"},
        {.name = "al26", .controlId = 1003, .member = "m_dAl26", .label = "Measured 26Al concentration", .unit = "atoms/g", .field = &In::al26,
         .range = kConcentration},
        {.name = "al26-err", .controlId = 1004, .member = "m_dAl26Err", .label = "Uncertainty of the 26Al concentration", .unit = "atoms/g",
         .field = &In::al26Error, .range = kConcentration, .help = "1 sigma"},
        {.name = "be10-production", .controlId = 1005, .member = "m_dBe10P", .label = "10Be production rate at the source", .unit = "atoms/g/yr",
         .field = &In::be10Production, .range = kProduction,
         .help = "total surface production where the sample was exposed, for its standard"},
        {.name = "al26-production", .controlId = 1006, .member = "m_dAl26P", .label = "26Al production rate at the source", .unit = "atoms/g/yr",
         .field = &In::al26Production, .range = kProduction},
        {.name = "density", .controlId = 1007, .member = "m_dDensity", .label = "Density", .unit = "g/cm3", .field = &In::density,
         .range = InputRange{0.0, 10.0}},
        {.name = "free-path", .controlId = 1008, .member = "m_dFreePath", .label = "Attenuation length", .unit = "g/cm2", .field = &In::freePath,
         .range = InputRange{0.0, 500.0}, .help = "of spallation; by default the constant set's"},
        Be10HalfLifeRow(&In::be10HalfLife),
        Al26HalfLifeRow(&In::al26HalfLife),
        AmsStandardRow(kBe10, &In::be10Standard, 1020, "m_strBe10Standard"),
        AmsStandardRow(kAl26, &In::al26Standard, 1021, "m_strAl26Standard"),
        ConstantsRow(&In::constants),
        {.name = "source", .controlId = 1022, .member = "m_strSource", .label = "History at the source", .kind = InputKind::Choice, .field = &In::source,
         .help = "steady-erosion: steady state under erosion eps, solved for eps; exposure: an exposure tau "
                 "without erosion, solved for tau",
         .choices = kSourceChoices},
        {.name = "burial-depth", .controlId = 1009, .member = "m_dBurialDepth", .label = "Burial depth", .unit = "g/cm2", .field = &In::burialDepth,
         .range = InputRange{0.0, 1e6},
         .help = "post-burial production by neutrons and muons at that depth (Braucher et al. 2011), the burial "
                 "site's surface producing as the source; 0: none"},
        {.name = "burial-depth-m", .label = "Burial depth in metres", .unit = "m", .field = &In::burialDepthMetres,
         .range = InputRange{0.0, 10000.0}, .help = "the same, times the density", .listedAtDefault = false},
        {.name = "post-burial-be10-production", .controlId = 1010, .member = "m_dBe10PostBurialP", .label = "10Be production after burial", .unit = "atoms/g/yr",
         .field = &In::postBurialBe10Production, .range = kProduction, .help = "instead of a burial depth"},
        {.name = "post-burial-al26-production", .controlId = 1012, .member = "m_dAl26PostBurialP", .label = "26Al production after burial", .unit = "atoms/g/yr",
         .field = &In::postBurialAl26Production, .range = kProduction, .help = "instead of a burial depth"},
        {.name = "latitude", .label = "Latitude of the source", .unit = "degrees", .field = &In::latitude,
         .range = InputRange{-90.0, 90.0},
         .help = "north positive; computes both production rates from the source's site (Stone 2000 with the "
                 "constant set's rates, the thickness factor, the shielding) instead of be10-production and "
                 "al26-production",
         .listedAtDefault = false},
        {.name = "altitude", .label = "Altitude of the source", .unit = "m", .field = &In::altitude,
         .range = InputRange{0.0, 100000.0}, .help = "with latitude", .listedAtDefault = false},
        AtmosphereRow(&In::atmosphere),
        PressureRow(&In::pressure),
        {.name = "thickness", .label = "Sample thickness", .unit = "cm", .field = &In::thickness,
         .range = InputRange{0.0, 1000.0}, .help = "with latitude", .listedAtDefault = false},
        {.name = "shield", .label = "Topographic shielding factor of the source", .boxUnit = "fraction 0–1",
         .field = &In::shield, .range = InputRange{0.0, 1.0}, .help = "with latitude", .listedAtDefault = false},
        {.name = "monte-carlo", .controlId = 1013, .member = "m_dMonteCarloDraws", .label = "Monte Carlo draws", .field = &In::monteCarloDraws,
         .range = InputRange{0.0, kMaxMonteCarloDraws},
         .help = "a whole number; after the block, \"Monte Carlo (D draws, seed S)\" with the median, 68% and "
                 "95% intervals of the burial age and the source's erosion or exposure, and the shares of draws "
                 "without a solution; 0 for none",
         .whole = true},
        {.name = "seed", .controlId = 1014, .member = "m_dSeed", .label = "Monte Carlo seed", .field = &In::seed, .range = InputRange{0.0, kMaxMonteCarloSeed},
         .help = "a whole number; the same seed gives the same draws on any number of threads", .whole = true},
    };
    static const InputTable<In> table(rows, BurialAgeCheck);
    return table;
}

const OutputTable<BurialAgeResult>& BurialAgeOutputTable()
{
    using R = BurialAgeResult;
    constexpr std::string_view kRatio = "%s:   %.4f";
    static const OutputRow<R> rows[] = {
        {.kind = OutputKind::Line, .format = "Source: steady erosion, then burial", .shown = SteadySource},
        {.kind = OutputKind::Line, .format = "Source: exposure without erosion, then burial", .shown = ExposureSource},
        {.kind = OutputKind::Count, .name = "burial_outcome", .field = &R::outcome},
        {.label = "Measured 26Al/10Be", .format = kRatio, .name = "measured_ratio", .field = &R::measuredRatio},
        {.label = "Surface 26Al/10Be at this 10Be", .format = kRatio, .name = "surface_ratio",
         .field = &R::surfaceRatio},
        {.label = "Production 26Al/10Be", .format = kRatio, .name = "production_ratio", .field = &R::productionRatio},
        {.label = "No burial", .format = "%s:   the ratio %.4f lies at or above the source's surface line at this "
                                         "10Be, so the sample needs no burial",
         .field = &R::measuredRatio, .shown = NoBurial},
        {.label = "Burial depth(g/cm2)", .format = "%s:   %.1f", .name = "burial_depth_g_per_cm2", .unit = "g/cm2",
         .field = &R::burialDepth, .shown = Buried},
        {.label = "Post-burial 10Be production(atoms/g/yr)", .format = "%s:   %.6f",
         .name = "post_burial_be10_production", .unit = "atoms/g/yr", .field = &R::postBurialBe10, .shown = PostBurial},
        {.label = "Post-burial 26Al production(atoms/g/yr)", .format = "%s:   %.6f",
         .name = "post_burial_al26_production", .unit = "atoms/g/yr", .field = &R::postBurialAl26, .shown = PostBurial},
        {.label = "Burial age(Myr)", .format = "%s:   %.4f", .name = "burial_age_myr", .unit = "Myr",
         .scale = kYearsPerMyr, .field = &R::burial, .shown = Solved},
        {.label = "Burial age 1-sigma(Myr)", .format = "%s:   %.4f", .name = "burial_age_err_myr", .unit = "Myr",
         .scale = kYearsPerMyr, .field = &R::burialError, .shown = Solved},
        {.label = "Source erosion rate(m/Myr)", .format = "%s:   %.4f", .name = "source_erosion_m_per_myr",
         .unit = "m/Myr", .scale = kCmPerYrPerMetrePerMyr, .field = &R::erosion, .shown = SolvedSteady},
        {.label = "Source erosion 1-sigma(m/Myr)", .format = "%s:   %.4f", .name = "source_erosion_err_m_per_myr",
         .unit = "m/Myr", .scale = kCmPerYrPerMetrePerMyr, .field = &R::erosionError, .shown = SolvedSteady},
        {.label = "Pre-burial exposure(kyr)", .format = "%s:   %.3f", .name = "pre_burial_exposure_kyr",
         .unit = "kyr", .scale = kYearsPerKyr, .field = &R::exposure, .shown = SolvedExposure},
        {.label = "Pre-burial exposure 1-sigma(kyr)", .format = "%s:   %.3f", .name = "pre_burial_exposure_err_kyr",
         .unit = "kyr", .scale = kYearsPerKyr, .field = &R::exposureError, .shown = SolvedExposure},
        ProvenanceRow<R, &R::constants>(),
    };
    static const OutputTable<R> table{rows};
    return table;
}

const OutputTable<BurialMonteCarloBlock>& BurialMonteCarloOutputTable()
{
    using R = BurialMonteCarloBlock;
    constexpr const char* kShare = "%-26s:   %.1f %% of draws";
    static const OutputRow<R> rows[] = {
        {.kind = OutputKind::Count, .name = "mc_draws", .field = &R::draws},
        {.name = "mc_seed", .field = &R::seed},
        {.kind = OutputKind::Summary, .label = "Burial age(Myr)", .format = "%.4f", .name = "mc_burial_age_myr",
         .unit = "Myr", .scale = kYearsPerMyr, .field = &R::burial, .shown = AnyDraw},
        {.kind = OutputKind::Summary, .label = "Source erosion rate(m/Myr)", .format = "%.4f",
         .name = "mc_source_erosion_m_per_myr", .unit = "m/Myr", .scale = kCmPerYrPerMetrePerMyr,
         .field = &R::erosion, .shown = AnySteady},
        {.kind = OutputKind::Summary, .label = "Pre-burial exposure(kyr)", .format = "%.3f",
         .name = "mc_pre_burial_exposure_kyr", .unit = "kyr", .scale = kYearsPerKyr, .field = &R::exposure,
         .shown = AnyExposure},
        {.kind = OutputKind::Line, .format = "No draw has a burial age", .shown = NoDraw},
        {.label = "Solved", .format = kShare, .name = "mc_solved_percent", .unit = "%", .field = &R::solvedPercent},
        {.label = "No burial (above the line)", .format = kShare, .name = "mc_no_burial_percent", .unit = "%",
         .field = &R::noBurialPercent},
        {.label = "Above the production ratio", .format = kShare, .name = "mc_above_production_ratio_percent",
         .unit = "%", .field = &R::aboveRatioPercent},
        {.label = "No solution otherwise", .format = kShare, .name = "mc_no_solution_percent", .unit = "%",
         .field = &R::otherPercent},
        {.kind = OutputKind::Line, .format = "\n"},
    };
    static const OutputTable<R> table{rows, BurialMonteCarloHeading, false};
    return table;
}

bool RunBurialMonteCarlo(const BurialSource& source, BurialSourceKind kind, const NuclideConcentrations& measured,
                         const NuclideConcentrations& errors, const PostBurialProduction& postBurial, int draws,
                         std::uint64_t seed, BurialMonteCarloBlock& block, int threads, const BurialProgress& progress)
{
    block = BurialMonteCarloBlock();
    block.draws = std::max(draws, 0);
    block.seed = static_cast<double>(seed);
    block.exposureSource = kind == BurialSourceKind::Exposure;
    std::vector<BurialSolution> solutions(static_cast<std::size_t>(block.draws));
    // Each draw is written only to its own slot: the same results whichever thread ran it.
    const bool finished = ShareWork(
        block.draws, threads <= 0 ? AvailableThreads() : threads, 64,
        [&](int, int first, int last) {
            for (int d = first; d <= last; ++d) {
                const std::vector<double> z = MonteCarloNormalDeviates(seed, static_cast<std::uint64_t>(d), 2);
                const NuclideConcentrations drawn{measured.be10 + errors.be10 * z[0],
                                                  measured.al26 + errors.al26 * z[1]};
                // A concentration drawn at or below 0 is Unusable: counted below, not drawn again.
                solutions[static_cast<std::size_t>(d)] = SolveBurial(source, kind, drawn, postBurial);
            }
        },
        [&](int done) { return !progress || progress(done, block.draws); });
    if (!finished)
        return false;
    std::vector<double> burial, parameter;
    int noBurial = 0, aboveRatio = 0;
    for (const BurialSolution& s : solutions) {
        if (s.outcome == BurialOutcome::Solved) {
            burial.push_back(s.burialYears);
            parameter.push_back(kind == BurialSourceKind::Exposure ? s.exposureYears : s.erosion);
        } else if (s.outcome == BurialOutcome::NoBurial) {
            ++noBurial;
        } else if (s.outcome == BurialOutcome::AboveProductionRatio) {
            ++aboveRatio;
        }
    }
    const double n = block.draws > 0 ? block.draws : 1;
    const int solved = static_cast<int>(burial.size());
    block.any = solved > 0;
    block.solvedPercent = 100.0 * solved / n;
    block.noBurialPercent = 100.0 * noBurial / n;
    block.aboveRatioPercent = 100.0 * aboveRatio / n;
    block.otherPercent = 100.0 * (block.draws - solved - noBurial - aboveRatio) / n;
    block.burial = SummariseDraws(std::move(burial));
    (kind == BurialSourceKind::Exposure ? block.exposure : block.erosion) = SummariseDraws(std::move(parameter));
    return true;
}

bool AppendBurialAge(const BurialAgeInputs& in, CResultList& list, COutputBlocks* blocks, int threads,
                     const BurialProgress& progress)
{
    if (in.monteCarloDraws != std::floor(in.monteCarloDraws) || in.seed != std::floor(in.seed)) {
        ShowMessage("The number of Monte Carlo draws and the seed must be whole numbers!");
        return false;
    }
    if (!in.siteError.empty()) {
        ShowMessage(in.siteError);
        return false;
    }
    const BurialProblem p = ProblemOf(in);
    const BurialSolution s = SolveBurial(p.source, p.kind, p.measured, p.postBurial);
    if (s.outcome != BurialOutcome::Solved && s.outcome != BurialOutcome::NoBurial) {
        ShowMessage(FailureMessage(s));
        return false;
    }
    BurialAgeResult r;
    r.outcome = static_cast<int>(s.outcome);
    r.exposureSource = p.kind == BurialSourceKind::Exposure;
    r.measuredRatio = s.measuredRatio;
    r.surfaceRatio = s.surfaceRatio;
    r.productionRatio = s.productionRatio;
    r.burialDepth = p.depth;
    r.postBurialBe10 = p.postBurial.be10;
    r.postBurialAl26 = p.postBurial.al26;
    if (s.outcome == BurialOutcome::Solved) {
        const BurialUncertainty u = PropagateBurialUncertainty(p.source, p.kind, p.measured, p.errors, p.postBurial);
        r.burial = s.burialYears;
        r.erosion = s.erosion;
        r.exposure = s.exposureYears;
        r.burialError = u.burialYears;
        (r.exposureSource ? r.exposureError : r.erosionError) = u.sourceParameter;
    }
    r.constants = BurialProvenance(in, p);
    AppendResult(list, BurialAgeOutputTable(), r, blocks);
    if (in.monteCarloDraws <= 0.0)
        return true;
    BurialMonteCarloBlock mc;
    if (!RunBurialMonteCarlo(p.source, p.kind, p.measured, p.errors, p.postBurial,
                             static_cast<int>(in.monteCarloDraws), static_cast<std::uint64_t>(in.seed), mc, threads,
                             progress))
        return false;
    AppendResult(list, BurialMonteCarloOutputTable(), mc, blocks);
    return true;
}

} // namespace qex
