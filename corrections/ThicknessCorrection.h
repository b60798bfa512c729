#pragma once
// Thickness correction: production decreases exponentially with mass depth, so
// a sample of finite thickness receives the production averaged over its depth,
// less than the surface production.

#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"

namespace qex {

// Ratio of the depth-averaged production to the surface production, at most 1.
// density in g/cm3, attenuationLength in g/cm2, thickness in cm.
double ThicknessCorrectionFactor(double density, double attenuationLength, double thickness);

// Mean of exp(-z) over z in 0..x, (1 - exp(-x)) / x, for a mass thickness of
// x attenuation lengths; 1 at x = 0 (its limit), 0 at x = infinity.
double MeanAttenuation(double x);

// The thickness dialog's inputs with their defaults; ranges in the table.
struct ThicknessInputs {
    double thickness = 2.0;   // cm
    double density = 2.75;    // g/cm3
    double freePath = 150.0;  // attenuation length, g/cm2
};
const InputTable<ThicknessInputs>& ThicknessInputTable();

// The block the thickness dialog lists: the inputs and the factor.
struct ThicknessResult {
    double density = 0.0, freePath = 0.0, thickness = 0.0; // as ThicknessInputs
    double factor = 1.0;
};
const OutputTable<ThicknessResult>& ThicknessOutputTable();
ThicknessResult ComputeThickness(const ThicknessInputs& inputs);

// Computes the factor and appends its block (its values to `blocks` when given).
void AppendThicknessResult(const ThicknessInputs& inputs, CResultList& list, COutputBlocks* blocks = nullptr);

} // namespace qex
