#pragma once
// One cosmogenic nuclide for one calculation: which it is, how fast it decays,
// how fast it is produced at sea level and high latitude, and what the sample
// holds.

#include <cstdint>

namespace qex {

class CNuclide {
public:
    static constexpr std::int32_t kBe10 = 0; // 10Be
    static constexpr std::int32_t kAl26 = 1; // 26Al
    static constexpr std::int32_t kCl36 = 2; // half-life of 36Cl only
    static constexpr std::int32_t kC14 = 3;  // half-life of 14C only

    std::int32_t kind = kBe10;
    double halfLife = 0.0;            // years
    double decayConstant = 0.0;       // ln 2 / halfLife, per year
    double productionRate = 0.0;      // sea level, high latitude, atoms/g/yr
    double muonFraction = 0.0;        // share of that production due to muons
    double productionRateError = 0.0; // atoms/g/yr
    double concentration = 0.0;       // measured, atoms/g
    double concentrationError = 0.0;  // atoms/g

    // Fills the record for the nuclide kind and returns it. Kinds 2 and 3 get
    // their half-life only; the caller sets their production.
    CNuclide& Init(std::int32_t nuclideKind);
};

} // namespace qex
