#pragma once
// The isochron burial age of samples of one horizon (Balco & Rovey 2008;
// Erlanger et al. 2012). Samples buried together but carrying different
// inherited concentrations lie on one line N26 = a + b N10 whose slope b is
// the production ratio R0 decayed for the burial time t:
// b = R0 e^(-(lambda26 - lambda10) t), so t = ln(R0 / b) / (lambda26 - lambda10).
// The line is a York fit (burial/YorkFit.h) weighting both nuclides' errors.
//
// Post-burial production (muons at the samples' depth) adds to each sample
// N_pb,i = P_pb,i (1 - e^(-lambda t)) / lambda, which depends on t itself:
// Balco & Rovey (2008) subtract it for the current t, refit and recompute t
// until t settles.
//
// Units: concentrations atoms/g, production rates atoms/g/yr, times yr.

#include "burial/YorkFit.h"
#include "core/HalfLives.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qex {

// One sample of the horizon.
struct IsochronSample {
    double be10 = 0.0;
    double be10Error = 0.0; // 1 sigma
    double al26 = 0.0;
    double al26Error = 0.0;
    double be10PostBurialProduction = 0.0; // atoms/g/yr at the sample's depth since burial
    double al26PostBurialProduction = 0.0;
};

struct IsochronSettings {
    double productionRatio = 0.0;      // R0, 26Al/10Be at production
    double productionRatioError = 0.0; // 1 sigma
    HalfLives halfLives;               // yr
};

// The age stops changing by more than this (yr) between two refits...
inline constexpr double kIsochronAgeTolerance = 1e-3;
// ...within this many refits, or the correction did not converge.
inline constexpr int kIsochronMaxRefits = 100;

enum class IsochronOutcome {
    Age,           // an age
    NoFit,         // the York fit failed (too few samples, bad errors, no convergence)
    NotBuried,     // slope at or above R0: no decay since production
    NoRatio,       // slope at or below 0: no ratio to date
    NotConverged,  // the post-burial correction did not settle
};

struct IsochronSolution {
    IsochronOutcome outcome = IsochronOutcome::NoFit;
    std::string failure; // why, for any outcome but Age
    YorkLine line;       // of the last fit
    double age = 0.0;    // yr
    // 1 sigma (yr) from the slope's and R0's errors; scaled: the slope's error
    // times sqrt(MSWD) when the MSWD exceeds 1 (scatter beyond the errors).
    double ageError = 0.0;
    double ageErrorScaled = 0.0;
    int refits = 0;                  // post-burial refits made (0 without post-burial production)
    bool postBurial = false;         // a sample has post-burial production
};

// t = ln(R0 / b) / (lambda26 - lambda10) (Balco & Rovey 2008, eq. 3 solved for t).
double IsochronBurialAge(double slope, double productionRatio, const HalfLives& halfLives);

// Fits the samples and dates the slope, correcting for post-burial production
// where a sample has it.
IsochronSolution SolveIsochron(const std::vector<IsochronSample>& samples, const IsochronSettings& settings);

// Monte Carlo: each draw takes every sample's 10Be and 26Al and R0 from
// normal distributions about their values (2 n + 1 deviates, in that order,
// from `deviates(draw, count)`) and solves again. Draws are independent, so
// any number of threads gives the same result.
struct IsochronDraws {
    std::vector<double> ages;        // yr, of the draws with an age, in draw order
    int draws = 0;
    int notBuried = 0;    // slope at or above the drawn R0 (or R0 not positive)
    int noFit = 0;        // the fit failed, the slope was not positive or the correction did not converge
};
using DeviateSource = std::function<std::vector<double>(std::uint64_t draw, int count)>;
// (draws done, draws in all); false stops. Called from the calling thread only.
using IsochronProgress = std::function<bool(int done, int total)>;
// False when stopped.
bool DrawIsochronAges(const std::vector<IsochronSample>& samples, const IsochronSettings& settings, int draws,
                      const DeviateSource& deviates, IsochronDraws& result, int threads = 0,
                      const IsochronProgress& progress = {});

} // namespace qex
