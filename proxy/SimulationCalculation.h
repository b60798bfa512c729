#pragma once
// The simulation dialog's two calculations, shared by the dialog and
// `qexcli simulate`: the calculation with uncertainties (nine runs with the
// measured concentrations lowered, kept and raised by their uncertainties, and
// the central run) and the single calculation. Each appends its block of
// result lines to a result list.

#include "core/AmsStandards.h"
#include "core/ConstantSets.h"
#include "core/HalfLives.h"
#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"
#include "proxy/BurialExposureSimulation.h"
#include "proxy/MonteCarlo.h"
#include "proxy/SimulationProgress.h"
#include "proxy/SimulationReport.h"
#include "scaling/Atmosphere.h"

#include <cmath>

#include <string>
#include <vector>

namespace qex {

// The inputs with the dialog's defaults; ranges in the table.
struct SimulationInputs {
    std::string proxyFile;  // proxy curve file
    std::string outputFile; // report file
    double be10 = 1165000.0;      // measured 10Be, atoms/g
    double be10Error = 24000.0;   // its uncertainty, atoms/g
    double al26 = 6216000.0;      // measured 26Al, atoms/g
    double al26Error = 156000.0;  // its uncertainty, atoms/g
    double be10Production = 12.7; // atoms/g/yr
    double al26Production = 77.7; // atoms/g/yr
    double density = 2.75;        // g/cm3
    double freePath = 150.0;      // g/cm2
    double aerialErosion = 0.0;   // cm/kyr
    double glacialErosion = 0.0;  // cm/kyr
    bool single = false;          // the single calculation: one run with the measured values
    std::string tableFile;        // CSV of the central run to write (qexcli); empty for none
    double be10HalfLife = kBe10HalfLifeYears; // yr
    double al26HalfLife = kAl26HalfLifeYears; // yr
    bool exposureAboveCut = false; // the curve's high values count as exposure (it is read negated)
    double be10ProductionError = 0.0; // uncertainty of the 10Be production rate, atoms/g/yr (0: fixed)
    double al26ProductionError = 0.0; // uncertainty of the 26Al production rate, atoms/g/yr (0: fixed)
    double productionScalingError = 0.0; // shared error of both production rates' scaling, percent (0: none)
    double monteCarloDraws = 0.0;     // Monte Carlo draws after the calculation (0: none)
    double seed = 1.0;                // of the Monte Carlo draws
    std::string samplesFile;          // CSV of the Monte Carlo draws to write (qexcli); empty for none
    // The AMS standards the concentrations were measured against ("none": as
    // given) and the constant set (core/AmsStandards.h, core/ConstantSets.h).
    std::string be10Standard = std::string(kNoStandard);
    std::string al26Standard = std::string(kNoStandard);
    std::string constants = std::string(kOriginalConstants);
    // The site, when the two production rates are to be computed from it
    // (proxy/SimulationSite.h): a latitude not given (NaN) leaves them as given.
    double latitude = NAN;                                     // degrees north
    double altitude = 0.0;                                     // m
    std::string atmosphere = std::string(kStandardAtmosphere); // std, antarctic or pressure
    double pressure = NAN;                                     // hPa, with atmosphere pressure
    double thickness = 0.0;                                    // cm
    double shield = 1.0;                                       // topographic shielding factor
    std::string siteError; // why the site has no production rates (set with them); empty when it has
};
const InputTable<SimulationInputs>& SimulationInputTable();

class CSimulationCurveCache;

// What a batch row asks beyond the dialog's calculation: the curve from a
// cache the rows share, and no report file. inputs.outputFile is then not
// needed; with keepReport the report's text is left in `report` instead.
struct SimulationBatchRow {
    CSimulationCurveCache* curves = nullptr;
    bool keepReport = false;
    std::string report;
};

// The block of a calculation: the central run's best fit (ages in years,
// listed in kyr) and, with uncertainties, the smallest and largest of each
// quantity over the nine runs (0 when no run gave it); the half-lives when
// they are not the original ones.
struct SimulationResult {
    bool single = false; // the single calculation: no ranges
    double cutValue = 0.0, ratioDifference = 0.0;
    double exposure = 0.0, burial = 0.0, total = 0.0;
    double ratio = 0.0;
    int crossings = 0;
    std::vector<double> crossingYears;
    double exposureMin = 0.0, exposureMax = 0.0, burialMin = 0.0, burialMax = 0.0, totalMin = 0.0, totalMax = 0.0;
    double firstCutMin = 0.0, firstCutMax = 0.0, cutValueMin = 0.0, cutValueMax = 0.0;
    double ratioDifferenceMin = 0.0, ratioDifferenceMax = 0.0;
    Provenance constants;
    bool offCurve = false; // the listed history or a perturbed run matched no history
    int lowerLimit = 0; // 1: the listed history's total is a lower limit
    int matched = 0;    // 1: the listed history's 10Be matched the measured one
};
const OutputTable<SimulationResult>& SimulationOutputTable();

// Shown once after a calculation in which the listed history, or one of the
// nine perturbed runs, had to be chosen among histories whose 10Be never
// reached the measured value.
inline constexpr const char* kOffCurveMessage =
    "No history on this curve matches the measured 10Be: the curve is too short, or erosion keeps the 10Be below "
    "the measured value. The ages listed are those of the whole curve.";

// Shown once after a calculation whose listed history is a lower limit.
inline constexpr const char* kLowerLimitMessage =
    "The total age is a lower limit: older exposure would change the 10Be by less than its uncertainty.";

// Calculation with uncertainties. Appends the "Mean Value" and
// "Uncertainties" block and returns true; false (and nothing appended) after
// a message. A block computed with half-lives other than the original ones
// names them in its last lines (before its closing empty line). With `detail`, the central run's details. With `progress`, the
// ten runs report to it; when it asks to stop, the calculation returns false
// with no message, appends nothing and leaves the report file as it was.
bool AppendSimulationWithUncertainties(const SimulationInputs& inputs, CResultList& list,
                                       SimulationDetail* detail = nullptr, const SimulationProgress& progress = {},
                                       SimulationBatchRow* batch = nullptr, COutputBlocks* blocks = nullptr);

// Single calculation: one run with the measured values, a "Calculation
// Result" block. `progress` as above.
bool AppendSingleSimulation(const SimulationInputs& inputs, CResultList& list, SimulationDetail* detail = nullptr,
                            const SimulationProgress& progress = {}, SimulationBatchRow* batch = nullptr,
                            COutputBlocks* blocks = nullptr);

// The single calculation when inputs.single is set, otherwise the one with
// uncertainties; with `blocks`, the block's values.
bool AppendSimulation(const SimulationInputs& inputs, CResultList& list, SimulationDetail* detail = nullptr,
                      const SimulationProgress& progress = {}, SimulationBatchRow* batch = nullptr,
                      COutputBlocks* blocks = nullptr);

// The most Monte Carlo draws one calculation takes.
inline constexpr double kMaxMonteCarloDraws = 100000.0;
// Seeds are whole numbers a double holds exactly.
inline constexpr double kMaxMonteCarloSeed = 9007199254740991.0; // 2^53 - 1

// The Monte Carlo of inputs.monteCarloDraws draws with inputs.seed, after a
// calculation: appends its block ("Monte Carlo (D draws, seed S)" and its
// lines, then an empty line) and returns true; false, with nothing appended,
// after a message (a curve that cannot be read, a count or seed that is not a
// whole number) or silently when `progress` asked to stop. `threads` <= 0
// takes every core.
bool AppendMonteCarlo(const SimulationInputs& inputs, CResultList& list, MonteCarloResult& result,
                      const MonteCarloProgress& progress = {}, int threads = 0, COutputBlocks* blocks = nullptr);

} // namespace qex
