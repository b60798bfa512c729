#pragma once
// The four scaling factors of one site side by side, as the lines the scaling
// factor dialog appends to its results list (and qexcli scaling prints).

#include "core/ResultList.h"
#include "core/InputRange.h"

#include <string>
#include <vector>

namespace qex {

// The site the factors are computed for, with the dialog's initial values.
struct ScalingSite {
    double latitude = 60.0;      // deg
    double altitude = 0.0;       // m
    double muonFraction = 0.026; // fraction of sea-level production due to muons
};

inline constexpr InputRange kSiteLatitudeRangeDeg{0.0, 90.0};
inline constexpr InputRange kSiteAltitudeRangeM{0.0, 10000.0};
inline constexpr InputRange kSiteMuonFractionRange{0.0, 0.3};

// The seven result lines: the inputs, then Stone 2000 (standard atmosphere),
// Lal 1991 Be, Lal 1991 Al and Dunai 2000.
std::vector<std::string> ScalingFactorLines(const ScalingSite& site);

// Appends the lines as one block headed "Calculation Result %d".
void AppendScalingFactorResults(const ScalingSite& site, CResultList& results);

} // namespace qex
