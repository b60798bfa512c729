#pragma once
// One cosmogenic nuclide for one calculation: which it is, how fast it decays,
// how fast it is produced at sea level and high latitude, and what the sample
// holds.

#include "core/Constants.h"

#include <cstdint>

namespace qex {

class CNuclide {
public:
    std::int32_t kind = kBe10;        // a NuclideKind
    double halfLife = 0.0;            // years
    double decayConstant = 0.0;       // ln 2 / halfLife, per year
    double productionRate = 0.0;      // sea level, high latitude, atoms/g/yr
    double muonFraction = 0.0;        // share of that production due to muons
    double productionRateError = 0.0; // atoms/g/yr
    double concentration = 0.0;       // measured, atoms/g
    double concentrationError = 0.0;  // atoms/g

    // Fills the record for the nuclide kind and returns it. kCl36 and kC14
    // get their half-life only; the caller sets their production.
    CNuclide& Init(std::int32_t nuclideKind);
};

// Share of a nuclide's sea-level production due to muons: 1 minus its
// spallation share for 10Be and 26Al, 0 for the others.
double MuonFraction(std::int32_t nuclideKind);

} // namespace qex
