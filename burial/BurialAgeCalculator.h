#pragma once
// The simple burial age calculator: one sample's 10Be and 26Al (with their
// AMS standards and 1-sigma), its source's production rates, density,
// attenuation length and half-lives give the burial age and the source's
// erosion rate (or pre-burial exposure) with their 1-sigma by linear
// propagation, and on request a seeded Monte Carlo of both
// (burial/BurialAge.h solves; burial/MuonProduction.h gives the production
// after burial at a depth).

#include "burial/BurialAge.h"
#include "core/AmsStandards.h"
#include "core/ConstantSets.h"
#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"
#include "scaling/Atmosphere.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

namespace qex {

struct BurialAgeInputs {
    double be10 = 111756.0;     // atoms/g, as measured against its standard
    double be10Error = 3409.0;
    double al26 = 416017.0;     // atoms/g
    double al26Error = 31939.0;
    double be10Production = 11.65; // at the source, atoms/g/yr
    double al26Production = 76.85;
    double density = 2.6;          // g/cm3
    double freePath = 160.0;       // g/cm2; the constant set's unless given
    double be10HalfLife = kBe10HalfLifeYears; // yr
    double al26HalfLife = kAl26HalfLifeYears; // yr
    std::string be10Standard = std::string(kNoStandard);
    std::string al26Standard = std::string(kNoStandard);
    std::string constants = std::string(kOriginalConstants);
    std::string source = "steady-erosion"; // or "exposure"
    double burialDepth = 0.0;      // g/cm2; 0: deep enough that production stopped
    double burialDepthMetres = 0.0; // m, with the density
    double postBurialBe10Production = 0.0; // atoms/g/yr, given instead of a depth
    double postBurialAl26Production = 0.0;
    double monteCarloDraws = 0.0;
    double seed = 0.0;
    // The source's site, for production rates computed as the simulation's
    // "From site" computes them (proxy/SimulationSite.h): a latitude not
    // given (NaN) leaves the rates as given.
    double latitude = NAN;  // degrees north
    double altitude = 0.0;  // m
    std::string atmosphere = std::string(kStandardAtmosphere);
    double pressure = NAN;  // hPa, with atmosphere pressure
    double thickness = 0.0; // cm
    double shield = 1.0;
    std::string siteError;  // why the site has no production rates; empty when it has
};
const InputTable<BurialAgeInputs>& BurialAgeInputTable();

// What the block says of the central solution (BurialOutcome as a number in
// the CSV and JSON: 0 solved, 1 no burial, ...).
struct BurialAgeResult {
    int outcome = 0;
    bool exposureSource = false;
    double measuredRatio = 0.0, surfaceRatio = 0.0, productionRatio = 0.0;
    double burial = 0.0, burialError = 0.0;     // yr
    double erosion = 0.0, erosionError = 0.0;   // cm/yr
    double exposure = 0.0, exposureError = 0.0; // yr
    double burialDepth = 0.0;                   // g/cm2
    double postBurialBe10 = 0.0, postBurialAl26 = 0.0; // atoms/g/yr
    Provenance constants;
};
const OutputTable<BurialAgeResult>& BurialAgeOutputTable();

// The Monte Carlo of one sample: each draw d takes N10 and N26 from normal
// distributions around the measured values with the deviates of its own
// generator seeded from (seed, d) (proxy/MonteCarlo.h), so the same seed
// gives the same draws on any number of threads. A draw with no solution is
// counted by its reason, never dropped silently.
struct BurialMonteCarloBlock {
    int draws = 0;
    double seed = 0.0;
    bool any = false; // a draw solved: the summaries hold
    bool exposureSource = false;
    DistributionSummary burial, erosion, exposure; // yr, cm/yr, yr
    double solvedPercent = 0.0, noBurialPercent = 0.0, aboveRatioPercent = 0.0, otherPercent = 0.0;
};
const OutputTable<BurialMonteCarloBlock>& BurialMonteCarloOutputTable();

using BurialProgress = std::function<bool(int done, int total)>;
// False when stopped through `progress`. `threads` <= 0 takes every core.
bool RunBurialMonteCarlo(const BurialSource& source, BurialSourceKind kind, const NuclideConcentrations& measured,
                         const NuclideConcentrations& errors, const PostBurialProduction& postBurial, int draws,
                         std::uint64_t seed, BurialMonteCarloBlock& block, int threads = 0,
                         const BurialProgress& progress = {});

// Computes and appends the block (and the Monte Carlo's when asked for).
// A sample that needs no burial has its block with the reason and returns
// true; a sample no history explains gets a message naming why and false.
bool AppendBurialAge(const BurialAgeInputs& inputs, CResultList& list, COutputBlocks* blocks = nullptr,
                     int threads = 0, const BurialProgress& progress = {});

} // namespace qex
