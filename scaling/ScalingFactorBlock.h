#pragma once
// The four scaling factors of one site side by side, as the lines the scaling
// factor dialog appends to its results list (and qexcli scaling prints).

#include "core/InputTable.h"
#include "core/ResultList.h"

#include <string>
#include <vector>

namespace qex {

// The site the factors are computed for, with the dialog's initial values;
// ranges in the table.
struct ScalingSite {
    double latitude = 60.0;      // deg
    double altitude = 0.0;       // m
    double muonFraction = 0.026; // fraction of sea-level production due to muons
};
const InputTable<ScalingSite>& ScalingInputTable();

// The seven result lines: the inputs, then Stone 2000 (standard atmosphere),
// Lal 1991 Be, Lal 1991 Al and Dunai 2000.
std::vector<std::string> ScalingFactorLines(const ScalingSite& site);

// Appends the lines as one block headed "Calculation Result %d".
void AppendScalingFactorResults(const ScalingSite& site, CResultList& results);

} // namespace qex
