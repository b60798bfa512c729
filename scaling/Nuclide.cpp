#include "scaling/Nuclide.h"

namespace qex {

double MuonFraction(std::int32_t nuclideKind)
{
    switch (nuclideKind) {
    case kBe10:
        return 1.0 - kBe10SpallationShare;
    case kAl26:
        return 1.0 - kAl26SpallationShare;
    default:
        return 0.0;
    }
}

CNuclide& CNuclide::Init(std::int32_t nuclideKind)
{
    kind = nuclideKind;
    switch (kind) {
    case kBe10:
        halfLife = kBe10HalfLifeYears;
        productionRate = kBe10SeaLevelProduction;
        productionRateError = kBe10SeaLevelProductionError;
        muonFraction = MuonFraction(kind);
        break;
    case kAl26:
        halfLife = kAl26HalfLifeYears;
        productionRate = kAl26SeaLevelProduction;
        productionRateError = kAl26SeaLevelProductionError;
        muonFraction = MuonFraction(kind);
        break;
    case kCl36:
        halfLife = kCl36HalfLifeYears;
        break;
    case kC14:
        halfLife = kC14HalfLifeYears;
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
