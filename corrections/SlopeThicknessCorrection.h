#pragma once
// Slope-thickness correction: a sloping surface receives less cosmic radiation
// than a horizontal one, and the slope lengthens the path through a sample of
// finite thickness.

#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"

namespace qex {

// The combined slope and thickness factor. density in g/cm3, attenuationLength
// in g/cm2, thickness in cm, slope in degrees (0 horizontal, 90 vertical).
double SlopeThicknessCorrectionFactor(double density, double attenuationLength, double thickness, double slope);

// The slope-thickness dialog's inputs with their defaults; ranges in the table.
struct SlopeThicknessInputs {
    double thickness = 2.0;   // cm
    double density = 2.75;    // g/cm3
    double freePath = 150.0;  // attenuation length, g/cm2
    double slope = 0.0;       // degrees
    double strike = 0.0;      // degrees; recorded, enters no result
};
const InputTable<SlopeThicknessInputs>& SlopeThicknessInputTable();

// The block the slope-thickness dialog lists: the inputs and the factor.
struct SlopeThicknessResult {
    double density = 0.0, freePath = 0.0, thickness = 0.0, slope = 0.0; // as SlopeThicknessInputs
    double factor = 1.0;
};
const OutputTable<SlopeThicknessResult>& SlopeThicknessOutputTable();
SlopeThicknessResult ComputeSlopeThickness(const SlopeThicknessInputs& inputs);

// Computes the factor and appends its block (its values to `blocks` when given).
void AppendSlopeThicknessResult(const SlopeThicknessInputs& inputs, CResultList& list,
                                COutputBlocks* blocks = nullptr);

} // namespace qex
