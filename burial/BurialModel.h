#pragma once
// The forward model of burial dating with 10Be and 26Al: a sample's
// concentrations after a history at its source (steady erosion, or a simple
// exposure without erosion) followed by burial deep enough that production
// stopped, so that both nuclides only decay. Granger & Muzikar (2001) and
// Granger (2006) built burial dating on these expressions of Lal (1991).
//
// Units: concentrations atoms/g, production rates atoms/g/yr, density g/cm3,
// attenuation length g/cm2, erosion cm/yr, times yr, decay constants 1/yr.

#include "core/BuildUp.h"
#include "core/HalfLives.h"

namespace qex {

// 10Be and 26Al in one sample (atoms/g).
struct NuclideConcentrations {
    double be10 = 0.0;
    double al26 = 0.0;
};

// Where the sample was exposed before its burial.
struct BurialSource {
    double be10Production = 0.0; // atoms/g/yr
    double al26Production = 0.0; // atoms/g/yr
    double density = 0.0;        // g/cm3
    double freePath = 0.0;       // attenuation length of production, g/cm2
    HalfLives halfLives;         // yr
};

// lambda = ln 2 / half-life (1/yr).
double DecayConstant(double halfLifeYears);

// The rate at which a nuclide leaves the surface layer under steady erosion
// is LossConstant of core/BuildUp.h.

// Steady erosion at `erosion` for long enough to reach steady state, then
// `burialYears` of burial: N = e^(-lambda t) P / (lambda + rho eps / Lambda)
// (Lal 1991 eq. 6 at steady state, decayed as Granger & Muzikar 2001 and
// Granger 2006 decay it).
NuclideConcentrations SteadyErosionThenBurial(const BurialSource& source, double erosion, double burialYears);

// A simple exposure of `exposureYears` without erosion, then burial:
// N = e^(-lambda t) P / lambda (1 - e^(-lambda tau)) (Lal 1991 eq. 6 at
// zero erosion; Granger 2006).
NuclideConcentrations ExposureThenBurial(const BurialSource& source, double exposureYears, double burialYears);

} // namespace qex
