#include "burial/MuonProduction.h"

#include <cmath>

namespace qex {

namespace {

// Braucher et al. (2011): the muon rates at sea level and high latitude
// (atoms/g/yr) and the total production they were stated against.
constexpr double kBe10SlowMuons = 0.012;
constexpr double kBe10FastMuons = 0.039;
constexpr double kAl26SlowMuons = 0.84;
constexpr double kAl26FastMuons = 0.081;
constexpr double kBe10ReferenceProduction = 4.5;
constexpr double kAl26ReferenceProduction = 4.5 * 6.75;

} // namespace

MuonTerms BraucherMuonTerms(NuclideKind nuclide)
{
    if (nuclide == kAl26)
        return {kAl26SlowMuons / kAl26ReferenceProduction, kAl26FastMuons / kAl26ReferenceProduction};
    return {kBe10SlowMuons / kBe10ReferenceProduction, kBe10FastMuons / kBe10ReferenceProduction};
}

double ProductionAtDepth(NuclideKind nuclide, double surfaceProduction, double depth, double neutronFreePath)
{
    const MuonTerms m = BraucherMuonTerms(nuclide);
    const double neutronShare = 1.0 - m.slowShare - m.fastShare;
    return surfaceProduction * (neutronShare * std::exp(-depth / neutronFreePath) +
                                m.slowShare * std::exp(-depth / kSlowMuonAttenuation) +
                                m.fastShare * std::exp(-depth / kFastMuonAttenuation));
}

} // namespace qex
