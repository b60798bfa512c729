#pragma once
// The shielding calculation as the shielding dialog and qexcli run it: the
// horizon points in list order, the dip and strike of the surface, and the
// block of lines the dialog lists.

#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"

#include <vector>

namespace qex {

// One point of the skyline: azimuth (0 to 360 degrees, clockwise from north)
// and the elevation of the skyline there (0 to 90 degrees).
struct HorizonPoint {
    double azimuth = 0.0;
    double angle = 0.0;
};

// The point typed into the shielding dialog's boxes; qexcli and horizon files
// give points as text ("AZ,ANGLE") read with the same ranges.
const InputTable<HorizonPoint>& HorizonPointInputTable();

struct ShieldingInputs {
    std::vector<HorizonPoint> points; // in list order
    double dip = 0.0;                 // degrees
    double strike = 0.0;              // degrees
};
// The dip and strike; the horizon points stay a list of their own.
const InputTable<ShieldingInputs>& ShieldingInputTable();

// The topographic shielding factor of a sample site with these points, dip and strike.
double ShieldingFactor(const ShieldingInputs& inputs);

// The block the shielding dialog lists: the heading and the factor.
struct ShieldingResult {
    double factor = 1.0;
};
const OutputTable<ShieldingResult>& ShieldingOutputTable();

// Computes the factor and appends its block (its values to `blocks` when given).
void AppendShieldingResult(const ShieldingInputs& inputs, CResultList& list, COutputBlocks* blocks = nullptr);

} // namespace qex
