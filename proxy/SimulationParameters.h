#pragma once
// The inputs of one burial-exposure simulation run and the quantities derived
// from them once per run: decay and effective loss constants, saturation
// concentrations, the measured and production ratios and the minimum
// exposure time.

#include "core/Constants.h"

#include <string>

namespace qex {

struct SimulationParameters {
    // Inputs.
    double be10Concentration = 0.0; // N10, atoms/g
    double be10Production = 0.0;    // P10, atoms/g/yr
    double al26Concentration = 0.0; // N26, atoms/g
    double al26Production = 0.0;    // P26, atoms/g/yr
    double density = 0.0;           // rho, g/cm3
    double freePath = 0.0;          // attenuation free path Lambda, g/cm2
    double aerialErosion = 0.0;     // erosion while exposed, cm/yr
    double glacialErosion = 0.0;    // erosion while buried, cm/yr

    // Derived.
    double lambda10 = 0.0;        // 10Be decay constant, 1/yr
    double lambda26 = 0.0;        // 26Al decay constant, 1/yr
    double mu10 = 0.0;            // 10Be effective loss constant (decay + aerial erosion), 1/yr
    double mu26 = 0.0;            // 26Al effective loss constant, 1/yr
    double saturation10 = 0.0;    // S10 = P10 / mu10, atoms/g
    double saturation26 = 0.0;    // S26 = P26 / mu26, atoms/g
    double measuredRatio = 0.0;   // Rm = N26 / N10
    double productionRatio = 0.0; // Rp = P26 / P10
    double maxErosion10 = 0.0;    // largest erosion rate the 10Be measurement allows, cm/yr
    double maxErosion26 = 0.0;    // the same for 26Al, cm/yr
    double minimumExposure = 0.0; // Tmin, yr
};

// Computes the derived quantities (they may be infinite or NaN for unusable
// inputs); the nuclides decay with the half-lives given (yr).
SimulationParameters DeriveSimulationParameters(double be10Concentration, double be10Production,
                                                double al26Concentration, double al26Production, double density,
                                                double freePath, double aerialErosion, double glacialErosion,
                                                double be10HalfLife = kBe10HalfLifeYears,
                                                double al26HalfLife = kAl26HalfLifeYears);

// Whether a run can give finite numbers: concentrations and production rates
// positive and finite, density and erosion rates finite and not negative, a
// positive finite free path, a finite minimum exposure time (10Be below
// saturation), and a measured ratio large enough for finite ratio differences.
bool ParametersAreUsable(const SimulationParameters& p);

// Why a run cannot give finite numbers, in words for the user; empty when the
// parameters are usable.
std::string UnusableParametersMessage(const SimulationParameters& p);

// Burial only lowers the 26Al/10Be ratio below the production ratio: a
// measured ratio above it has no history. Says so with both ratios ("The
// measured 26Al/10Be ratio 6.87 is above the production ratio 6.12: ..."),
// with as many decimals as tell them apart; empty for a ratio at or below it.
std::string RatioAboveProductionMessage(const SimulationParameters& p);

} // namespace qex
