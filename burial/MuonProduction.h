#pragma once
// Production of 10Be and 26Al below a surface, where muons take over from
// spallation: the three-exponential approximation of Braucher et al. (2011,
// Earth Planet. Sci. Lett. 309, 1-9), who calibrated the muon terms on deep
// profiles:
//   P(z) = P_n e^(-z / Lambda_n) + P_slow e^(-z / 1500) + P_fast e^(-z / 4320)
// with z the mass depth (g/cm2), Lambda_n the attenuation length of the
// neutrons (the sample's free path), and at sea level and high latitude the
// stopping (slow) and fast muon rates of 10Be 0.012 and 0.039 atoms/g/yr and
// of 26Al 0.84 and 0.081 atoms/g/yr. Here those rates are taken as shares of
// the total surface production they were stated against (10Be 4.5, 26Al
// 4.5 x 6.75 = 30.375 atoms/g/yr) and applied to the surface production
// given, so that a site's muons scale with its total production: a
// simplification (muons scale less steeply with altitude than neutrons) that
// errs on the high side at altitude.

#include "core/Constants.h"

namespace qex {

// One nuclide's terms as shares of its total surface production.
struct MuonTerms {
    double slowShare = 0.0; // stopping muons
    double fastShare = 0.0; // fast muons
};
MuonTerms BraucherMuonTerms(NuclideKind nuclide);

inline constexpr double kSlowMuonAttenuation = 1500.0; // g/cm2
inline constexpr double kFastMuonAttenuation = 4320.0; // g/cm2

// The production (atoms/g/yr) at mass depth `depth` (g/cm2) below a surface
// producing `surfaceProduction` in all, the neutrons attenuating over
// `neutronFreePath` (g/cm2).
double ProductionAtDepth(NuclideKind nuclide, double surfaceProduction, double depth, double neutronFreePath);

} // namespace qex
