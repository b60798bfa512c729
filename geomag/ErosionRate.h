#pragma once
// The steady-state erosion rate of a surface from one nuclide's
// concentration: a surface eroding at eps for long enough holds
// N = P / (lambda + rho eps / Lambda) (Lal 1991, eq. 6), so
// eps = (P / N - lambda) Lambda / rho. The sample, its standard, the
// constant set and the atmosphere are taken as the exposure age takes them.

#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"
#include "geomag/NuclideSample.h"

namespace qex {

struct ErosionInputs : NuclideSample {};

const InputTable<ErosionInputs>& ErosionInputTable();

// The rate and its uncertainties (cm/yr), listed in m/Myr (= mm/kyr) and in
// cm/yr; the internal uncertainty from the concentration's, the external one
// adding the production rate's (Balco et al. 2008, linear propagation).
struct ErosionResult {
    double rate = 0.0;     // cm/yr
    double internal = 0.0; // cm/yr
    double external = 0.0; // cm/yr
    Provenance constants;
};
const OutputTable<ErosionResult>& ErosionOutputTable();

// The rate of production P (atoms/g/yr) +- dP and concentration N (atoms/g)
// +- dN, decay constant lambda (1/yr), density rho (g/cm3) and attenuation
// length Lambda (g/cm2). No rate (NaN) for N at or above saturation, P / lambda.
ErosionResult SteadyStateErosion(double production, double productionError, double concentration,
                                 double concentrationError, double lambda, double density, double attenuationLength);

// Computes the erosion rate and appends its block (its values to `blocks`
// when given). A sample at or above saturation, or a site without
// production, has no rate: a message and nothing appended. Returns whether a
// block was appended.
bool AppendErosionRate(const ErosionInputs& inputs, CResultList& list, COutputBlocks* blocks = nullptr);

} // namespace qex
