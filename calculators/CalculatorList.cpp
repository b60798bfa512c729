#include "calculators/CalculatorList.h"

#include "burial/BurialAgeCalculator.h"
#include "batch/IsochronCalculation.h"
#include "core/Message.h"
#include "corrections/ShieldingResult.h"
#include "corrections/SlopeThicknessCorrection.h"
#include "corrections/ThicknessCorrection.h"
#include "geomag/ErosionRate.h"
#include "geomag/ExposureAgeResult.h"
#include "proxy/CutResults.h"
#include "proxy/SimulationCalculation.h"
#include "scaling/ScalingFactorBlock.h"
#include "scaling/WorldTable.h"

namespace qex {

namespace {

// A long calculation asks the face whether to go on.
SimulationProgress Running(const CalculatorContext& context)
{
    if (!context.running)
        return {};
    return [&context](int, int) { return context.running(); };
}

bool ComputeSimulate(const SimulationInputs& in, CResultList& list, COutputBlocks& blocks, CalculatorContext& context)
{
    SimulationBatchRow row{context.curves, context.keepReport, {}};
    if (!AppendSimulation(in, list, nullptr, Running(context), context.batchRow ? &row : nullptr, &blocks))
        return false;
    context.report = std::move(row.report);
    if (in.monteCarloDraws <= 0.0)
        return true;
    // A batch's rows already run side by side: each row's draws keep to its
    // thread, and the same seed gives the same draws on any thread.
    MonteCarloResult draws;
    if (!AppendMonteCarlo(in, list, draws, Running(context), context.batchRow ? 1 : 0, &blocks))
        return false;
    // A batch row's block is not read line by line: its warning is the row's.
    if (const std::string warning = MonteCarloWarning(MonteCarloBlockOf(draws)); context.batchRow && !warning.empty())
        ShowMessage(warning);
    return true;
}

bool ComputeCut(const CutInputs& in, CResultList& list, COutputBlocks& blocks, CalculatorContext& context)
{
    std::string failure;
    const CutOutcome outcome = AppendCutResults(in, list, nullptr, &blocks, &failure);
    // A batch row has no list to show the lines in: it says so instead, with the reason.
    if (outcome == CutOutcome::NoValidResult && context.batchRow)
        ShowMessage("Calculation doesn't have valid results: " + failure);
    return outcome == CutOutcome::Result;
}

// A calculation that always gives its block.
template <class Inputs, void (*Append)(const Inputs&, CResultList&, COutputBlocks*)>
bool Always(const Inputs& in, CResultList& list, COutputBlocks& blocks, CalculatorContext&)
{
    Append(in, list, &blocks);
    return true;
}

bool ComputeWorldTable(const WorldTableInputs& in, CResultList&, COutputBlocks&, CalculatorContext& context)
{
    const auto running = [&context](std::uint64_t, std::uint64_t) { return !context.running || context.running(); };
    return WriteWorldTable(in, in.outputFile, running) == WorldTableOutcome::Written;
}

bool ComputeExposure(const ExposureInputs& in, CResultList& list, COutputBlocks& blocks, CalculatorContext& context)
{
    if (!context.batchRow)
        return AppendExposureAge(in, list, &blocks);
    // A batch's rows run side by side: none writes the scratch table.
    ExposureInputs row = in;
    row.tablePath.clear();
    return AppendExposureAge(row, list, &blocks);
}

bool ComputeErosion(const ErosionInputs& in, CResultList& list, COutputBlocks& blocks, CalculatorContext&)
{
    return AppendErosionRate(in, list, &blocks);
}

bool ComputeBurialAge(const BurialAgeInputs& in, CResultList& list, COutputBlocks& blocks, CalculatorContext& context)
{
    // A batch's rows already run side by side: each row's draws keep to its thread.
    const BurialProgress progress = [&context](int, int) { return !context.running || context.running(); };
    return AppendBurialAge(in, list, &blocks, context.batchRow ? 1 : 0, progress);
}

bool ComputeIsochron(const IsochronInputs& in, CResultList& list, COutputBlocks& blocks, CalculatorContext& context)
{
    // A batch's rows already run side by side: a row's draws keep to its thread.
    return AppendIsochronAge(in, list, &blocks, context.batchRow ? 1 : 0, context.running);
}

// A command that takes no input table.
Calculator Command(CalculatorInfo info)
{
    return {info, nullptr, {}};
}

} // namespace

const std::vector<Calculator>& Calculators()
{
    static const std::vector<Calculator> calculators = {
        MakeCalculator({.name = "simulate",
                        .description = "Burial-exposure history from 10Be, 26Al and a climatic proxy curve (best cut "
                                       "value, ages)",
                        .title = "Burial-exposure simulation",
                        .help = "Cuts a climate proxy curve at 998 thresholds, simulates both nuclides along each "
                                "exposure/burial history and reports the threshold whose <sup>26</sup>Al/<sup>10</sup>Be "
                                "ratio best matches the sample, with exposure, burial and total durations and their "
                                "ranges.",
                        // Named as its dialog's title names it.
                        .prompt = "Climatic Proxy Curve Simulation",
                        .menuText = "Climatic Curve &Age Correction...",
                        .commandId = ID_SIMULATION,
                        .batch = true},
                       SimulationInputTable, SimulationOutputTable, ComputeSimulate),
        MakeCalculator({.name = "cut",
                        .description = "Cut a proxy curve at a value or at the value it has at a year: exposure, burial "
                                       "and total age and the crossing years",
                        .title = "Proxy curve cut results",
                        .help = "For one cut (a proxy value, or the value at a year) and one exposure age: the crossing "
                                "years, the burial age and the total age.",
                        .prompt = "Climatic Proxy Curve Cut Results",
                        .menuText = "Proxy Curve &Cut Results...",
                        .commandId = ID_CUT_RESULTS,
                        .batch = true},
                       CutInputTable, CutOutputTable, ComputeCut),
        MakeCalculator({.name = "scaling",
                        .description = "Stone 2000, Lal 1991 (10Be, 26Al) and Dunai 2000 scaling factors of one site",
                        .title = "Scaling factors",
                        .help = "Stone 2000, Lal 1991 (<sup>10</sup>Be, <sup>26</sup>Al) and Dunai 2000 production-rate "
                                "scaling for one site.",
                        .prompt = "Scaling factor",
                        .menuText = "Production-Rate Scaling &Factors of a Site...",
                        .commandId = ID_SCALING_FACTOR,
                        .batch = true},
                       ScalingInputTable, ScalingOutputTable, Always<ScalingSite, AppendScalingFactorResults>),
        MakeCalculator({.name = "world-table",
                        .description = "Scaling factors and their differences over a latitude-altitude grid, written to "
                                       "a file",
                        .title = "World table",
                        .help = "The four schemes over a grid of latitudes and altitudes, written to a file.",
                        .prompt = "Calulate SF around world",
                        .menuText = "Scaling-Factor Table around the &World...",
                        .commandId = ID_WORLD_TABLE},
                       WorldTableInputTable, ComputeWorldTable),
        MakeCalculator({.name = "thickness",
                        .description = "Thickness correction factor of a sample (depth-averaged production)",
                        .title = "Thickness correction",
                        .help = "Production averaged over a sample's thickness.",
                        .prompt = "Thickness Correction",
                        .menuText = "&Thickness Correction...",
                        .commandId = ID_THICKNESS,
                        .batch = true},
                       ThicknessInputTable, ThicknessOutputTable, Always<ThicknessInputs, AppendThicknessResult>),
        MakeCalculator({.name = "slope-thickness",
                        .description = "Slope and thickness correction factor of a sample on a sloping surface",
                        .title = "Slope-thickness correction",
                        .help = "Production averaged over the thickness of a sample on a sloping surface.",
                        .prompt = "Slope-Thickness correction",
                        .menuText = "S&lope-Thickness Correction...",
                        .commandId = ID_SLOPE_THICKNESS,
                        .batch = true},
                       SlopeThicknessInputTable, SlopeThicknessOutputTable,
                       Always<SlopeThicknessInputs, AppendSlopeThicknessResult>),
        MakeCalculator({.name = "shielding",
                        .description = "Topographic shielding factor from the skyline and the slope of the sampled "
                                       "surface",
                        .title = "Topographic shielding",
                        .help = "The shielding factor of a measured skyline and the dip of the sampled surface.",
                        // The shielding command's own prompt; it once repeated the thickness one.
                        .prompt = "Shielding by obstruction and slope",
                        .menuText = "Topographic S&hielding by Obstruction and Slope...",
                        .commandId = ID_SHIELDING,
                        .batch = true},
                       ShieldingInputTable, ShieldingOutputTable, Always<ShieldingInputs, AppendShieldingResult>),
        MakeCalculator({.name = "exposure",
                        .description = "10Be or 26Al surface exposure age with decay and erosion, optionally "
                                       "corrected for the past geomagnetic field",
                        .title = "Surface exposure age",
                        .help = "The exposure age of a <sup>10</sup>Be or <sup>26</sup>Al sample with decay and "
                                "erosion, its internal and external uncertainties, optionally corrected for the "
                                "wandering pole and the changing field strength.",
                        .prompt = "Surface Exposure Age",
                        .menuText = "Surface &Exposure Age...",
                        .commandId = ID_EXPOSURE_AGE,
                        .batch = true},
                       ExposureInputTable, ExposureOutputTable, ComputeExposure),
        MakeCalculator({.name = "erosion",
                        .description = "Steady-state erosion rate of a surface from its 10Be or 26Al concentration, "
                                       "with internal and external uncertainties",
                        .title = "Erosion rate",
                        .help = "The steady-state erosion rate, N = P/(&lambda; + &rho;&epsilon;/&Lambda;) solved for "
                                "&epsilon;, in m/Myr and cm/yr with its internal and external uncertainties.",
                        .prompt = "Steady-state erosion rate",
                        .menuText = "E&rosion Rate...",
                        .commandId = ID_EROSION_RATE,
                        .batch = true},
                       ErosionInputTable, ErosionOutputTable, ComputeErosion),
        Command({.name = "normalize",
                 .description = "Read an intensity curve file and write it back normalised (gap midpoints, merged "
                                "ages, fixed columns)",
                 .title = "Normalize curve",
                 .help = "Reads an intensity curve file, fills wide gaps, merges close ages and writes it back in "
                         "fixed columns.",
                 .prompt = "Read/write/Normalize Climatic Curve",
                 .menuText = "&Normalize an Intensity Curve File...",
                 .commandId = ID_NORMALIZE_CURVE}),
        Command({.name = "batch",
                 .description = "Many samples from a CSV file through one calculator, one result row each",
                 .title = "Batch",
                 .help = "A CSV file of samples, one a row, through any calculator that takes numbers; one result "
                         "row each in a CSV file.",
                 .prompt = "Run a calculator over a CSV file of samples",
                 .menuText = "&Batch...",
                 .commandId = ID_BATCH}),
        Command({.name = "convert",
                 .description = "A file of samples in any format batch reads written as a v3 input block or as "
                                "QEX's CSV",
                 .title = "Convert samples",
                 .help = "Reads a file of samples (QEX's CSV, a v3 input block, expage, iceTEA or CREp) and writes "
                         "it as a v3 input block for the online calculators, or as QEX's CSV.",
                 .prompt = "Write a file of samples as a v3 input block",
                 .menuText = "Con&vert Samples to a v3 Block...",
                 .commandId = ID_CONVERT_SAMPLES}),
        Command({.name = "plot",
                 .description = "A figure of many samples as PNG (300 dpi) or SVG: two-nuclide, summary, transect",
                 .title = "Two-nuclide diagram",
                 .help = "A CSV file of samples drawn on the <sup>26</sup>Al/<sup>10</sup>Be against "
                         "<sup>10</sup>Be diagram, each with its 68&nbsp;% error ellipse, among the lines of constant "
                         "exposure, steady erosion, burial time and source erosion; <b>Save Image...</b> writes PNG "
                         "(300 dpi) or SVG; <tt>qexcli plot two-nuclide</tt>.",
                 .prompt = "Draw the two-nuclide diagram of a CSV file of samples",
                 .menuText = "Two-Nuclide &Diagram...",
                 .commandId = ID_TWO_NUCLIDE}),
        Command({.name = "summary",
                 .description = "Group statistics of many exposure ages or erosion rates: weighted mean, MSWD, "
                                "outliers named and the statistics without them",
                 .title = "Group summary",
                 .help = "The ages (or erosion rates) of a batch output read together, per landform: mean and sd, "
                         "the error-weighted mean with its internal and external uncertainty, the MSWD and its "
                         "probability, the outliers a generalised ESD test or Chauvenet's criterion names and the "
                         "statistics without them, the summed probability plot and, with elevations or distances, "
                         "the transect's rate; <tt>qexcli summary</tt>, <tt>qexcli plot summary</tt>, "
                         "<tt>qexcli plot transect</tt>.",
                 .prompt = "Summarize the ages of a landform from a batch output",
                 .menuText = "&Group Summary of Ages...",
                 .commandId = ID_GROUP_SUMMARY}),
        MakeCalculator({.name = "burial",
                        .description = "Simple 26Al/10Be burial age and the source's erosion rate or exposure, "
                                       "with 1-sigma and an optional seeded Monte Carlo",
                        .title = "Burial age",
                        .help = "The burial age of one sample from its <sup>10</sup>Be and <sup>26</sup>Al, with "
                                "steady erosion (or a simple exposure) at the source: N = e<sup>-&lambda;t</sup> "
                                "P/(&lambda; + &rho;&epsilon;/&Lambda;) solved for t and &epsilon;, optionally with "
                                "production after burial at a depth (Braucher et al. 2011 muons); 1-sigma by linear "
                                "propagation and a seeded Monte Carlo.",
                        .prompt = "Simple burial age from 10Be and 26Al",
                        .menuText = "B&urial Age...",
                        .commandId = ID_BURIAL_AGE,
                        .batch = true},
                       BurialAgeInputTable, BurialAgeOutputTable, ComputeBurialAge),
        MakeCalculator({.name = "isochron",
                        .description = "Isochron 26Al/10Be burial age of samples of one horizon: York fit, MSWD, "
                                       "post-burial production, Monte Carlo",
                        .title = "Isochron burial age",
                        .help = "Samples of one horizon with different inheritance lie on a line of "
                                "<sup>26</sup>Al against <sup>10</sup>Be whose slope is the production ratio decayed "
                                "for the burial time: a York fit weighting both errors, its MSWD, the burial age with "
                                "and without the MSWD's scaling, corrected for post-burial production, and a Monte "
                                "Carlo of its intervals.",
                        .prompt = "Isochron burial age of samples of one horizon",
                        .menuText = "&Isochron Burial Age...",
                        .commandId = ID_ISOCHRON_BURIAL,
                        .batch = true},
                       IsochronInputTable, IsochronOutputTable, ComputeIsochron),
    };
    return calculators;
}

const Calculator* FindCalculator(std::string_view name)
{
    for (const Calculator& calculator : Calculators())
        if (calculator.info.name == name)
            return &calculator;
    return nullptr;
}

} // namespace qex
