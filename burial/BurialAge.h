#pragma once
// The simple burial age of one sample: the forward model of
// burial/BurialModel.h (steady erosion or a simple exposure at the source,
// then burial) inverted for the burial time t and the source's erosion rate
// eps (or its exposure tau) from the measured 10Be and 26Al, with production
// after burial where the sample was not buried deep enough to stop it:
//   N_i(t) = e^(-lambda_i t) N_i,source + P_i,pb (1 - e^(-lambda_i t)) / lambda_i
// (Granger & Muzikar 2001; Granger 2006).
//
// Units as in BurialModel.h: atoms/g, atoms/g/yr, g/cm3, g/cm2, cm/yr, yr.

#include "burial/BurialModel.h"

namespace qex {

enum class BurialSourceKind {
    SteadyErosion, // the source eroded steadily for long enough to reach steady state
    Exposure,      // the source was exposed for tau without erosion
};

// Production of each nuclide where the sample lies buried (atoms/g/yr).
struct PostBurialProduction {
    double be10 = 0.0;
    double al26 = 0.0;
};

// The measured pair forward: what a sample with this history holds today.
NuclideConcentrations BuriedConcentrations(const BurialSource& source, BurialSourceKind kind,
                                           double sourceParameter, double burialYears,
                                           const PostBurialProduction& postBurial);

enum class BurialOutcome {
    Solved,
    // The ratio lies at or above the source's surface line at this 10Be
    // (steady-erosion or constant-exposure line): no burial is needed.
    NoBurial,
    // The ratio is above the production ratio: no history of production and
    // decay reaches it.
    AboveProductionRatio,
    // 10Be at or above what the source holds at saturation (with post-burial
    // production, what none of the allowed times leaves for the source).
    AboveSaturation,
    // The ratio is below what burial of a saturated (non-eroding) source
    // reaches at this 10Be: no history with eps >= 0 gives it.
    BelowSaturatedBurial,
    // Not a positive, finite pair, or a source without production.
    Unusable,
    // The root search did not meet its tolerance in its iterations.
    NoConvergence,
};

struct BurialSolution {
    BurialOutcome outcome = BurialOutcome::Unusable;
    double burialYears = 0.0;   // yr
    double erosion = 0.0;       // cm/yr, steady erosion at the source
    double exposureYears = 0.0; // yr, exposure at the source
    double surfaceRatio = 0.0;  // 26Al/10Be of the source's surface line at the measured 10Be
    double measuredRatio = 0.0; // 26Al/10Be measured
    double productionRatio = 0.0;
};

// The oldest burial considered (yr): far beyond the reach of 26Al.
inline constexpr double kMaxBurialYears = 30.0e6;

// Solves for t and eps (or tau). With the source's 10Be fixed by the
// measured 10Be at a trial t, the 26Al the model then gives falls with t;
// the root of (model 26Al / measured 26Al - 1) is bracketed on a grid of t
// between 0 and the time at which the source would be saturated, then found
// by TOMS 748 (Alefeld, Potra & Shi 1995) until the bracket is narrower
// than 1e-12 of t plus 1e-6 yr, in at most 200 iterations; a search that
// does not meet that tolerance is NoConvergence, never a silent value.
BurialSolution SolveBurial(const BurialSource& source, BurialSourceKind kind, const NuclideConcentrations& measured,
                           const PostBurialProduction& postBurial = {});

// The 1-sigma of t and of eps (or tau) from the measured uncertainties by
// linear propagation: the Jacobian of (t, eps) on (N10, N26) by central
// differences of the solution (one-sided beside a boundary), the two
// measurements independent.
struct BurialUncertainty {
    double burialYears = 0.0;
    double sourceParameter = 0.0; // cm/yr or yr
    bool ok = false;              // no difference could be taken: NaN
};
BurialUncertainty PropagateBurialUncertainty(const BurialSource& source, BurialSourceKind kind,
                                             const NuclideConcentrations& measured,
                                             const NuclideConcentrations& errors,
                                             const PostBurialProduction& postBurial = {});

} // namespace qex
