#include "scaling/Nuclide.h"

#include <cmath>

namespace qex {

namespace {
constexpr double kLn2 = 0.69314718055994530942;
} // namespace

CNuclide& CNuclide::Init(std::int32_t nuclideKind)
{
    kind = nuclideKind;
    switch (kind) {
    case kBe10:
        halfLife = 1500000.0;
        productionRate = 5.1;
        productionRateError = 0.3;
        muonFraction = 1.0 - 0.978; // 97.8 % of 10Be production is by spallation
        break;
    case kAl26:
        halfLife = 710000.0;
        productionRate = 31.1;
        productionRateError = 1.8;
        muonFraction = 1.0 - 0.974; // 97.4 % of 26Al production is by spallation
        break;
    case kCl36:
        halfLife = 301000.0;
        break;
    case kC14:
        halfLife = 5730.0;
        break;
    default:
        break;
    }
    if (kind >= kBe10 && kind <= kC14)
        decayConstant = kLn2 / halfLife;
    concentration = 0.0;
    return *this;
}

} // namespace qex
