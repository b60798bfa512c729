#pragma once
// Thickness correction: production decreases exponentially with mass depth, so
// a sample of finite thickness receives the production averaged over its depth,
// less than the surface production.

#include "core/ResultList.h"

namespace qex {

// Ratio of the depth-averaged production to the surface production, at most 1.
// density in g/cm3, attenuationLength in g/cm2, thickness in cm.
double ThicknessCorrectionFactor(double density, double attenuationLength, double thickness);

// Mean of exp(-z) over z in 0..x, (1 - exp(-x)) / x, for a mass thickness of
// x attenuation lengths; 1 at x = 0 (its limit), 0 at x = infinity.
double MeanAttenuation(double x);

// The thickness dialog's inputs, with its defaults and ranges.
struct ThicknessInputs {
    double thickness = 2.0;   // cm
    double density = 2.75;    // g/cm3
    double freePath = 150.0;  // attenuation length, g/cm2
};
inline constexpr double kMaxThicknessCm = 1000.0;
inline constexpr double kMaxThicknessDensity = 10000.0; // g/cm3
inline constexpr double kMaxFreePath = 1000.0;          // g/cm2

// Appends the block the thickness dialog lists: the inputs and the factor.
void AppendThicknessResult(const ThicknessInputs& inputs, CResultList& list);

} // namespace qex
