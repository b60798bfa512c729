#pragma once
// The four scaling factors of one site side by side, as the lines the scaling
// factor dialog appends to its results list (and qexcli scaling prints).

#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"

namespace qex {

// The site the factors are computed for, with the dialog's initial values;
// ranges in the table.
struct ScalingSite {
    double latitude = 60.0;      // deg
    double altitude = 0.0;       // m
    double muonFraction = 0.026; // fraction of sea-level production due to muons
};
const InputTable<ScalingSite>& ScalingInputTable();

// The block's seven lines: the site, then Stone 2000 (standard atmosphere),
// Lal 1991 Be, Lal 1991 Al and Dunai 2000.
struct ScalingResult {
    double latitude = 0.0, altitude = 0.0, muonFraction = 0.0; // as ScalingSite
    double stone = 1.0, lalBe = 1.0, lalAl = 1.0, dunai = 1.0;
};
const OutputTable<ScalingResult>& ScalingOutputTable();
ScalingResult ComputeScalingFactors(const ScalingSite& site);

// Computes the factors and appends their block (its values to `blocks` when given).
void AppendScalingFactorResults(const ScalingSite& site, CResultList& results, COutputBlocks* blocks = nullptr);

} // namespace qex
