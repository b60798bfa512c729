#pragma once
// Surface exposure ages from a measured concentration, with decay and steady
// erosion: under constant production in closed form, and with production that
// follows the past geomagnetic field by integration over its records. The
// operations on a site are members of CSampleSite (geomag/SampleSite.h).

#include "geomag/SampleSite.h"

#include <cstdint>

namespace qex {

// Exposure age and its uncertainty (years) for production P +- dP
// (atoms/g/yr), concentration N +- dN (atoms/g) and loss constant lambda
// (decay plus erosion, per year): T = -ln(1 - lambda N / P) / lambda, with
// first-order propagation of dN and dP. Not finite when lambda N >= P.
ResultPair ClosedFormExposureAge(double productionRate, double productionRateError, double concentration,
                                 double concentrationError, double lambda);

// Effective latitude (degrees) of a field of relative intensity I at
// geomagnetic latitude m: arccos(I^0.25 cos m). A weaker field acts like a
// site nearer the pole; an argument above 1 (a strong field near the
// geomagnetic equator) is taken as 1, latitude 0.
double EffectiveLatitude(double intensity, double geomagneticLatitude);

// A site's production rate (atoms/g/yr): the rate at sea level and high
// latitude times the scaling factor, the thickness factor and the
// topographic shielding; every exposure age takes its production from it.
inline double SiteProduction(double rate, double scaling, double thicknessFactor, double shielding)
{
    return thicknessFactor * (scaling * shielding) * rate;
}

// Local production rate and its uncertainty (atoms/g/yr) of a nuclide (kBe10
// or kAl26) by the Stone 2000 scheme at the latitude (degrees) and air
// pressure (hPa), for a sample of the thickness (cm) and density (g/cm3)
// under the shielding factor. Another nuclide gets no muon share.
void LocalProductionRate(std::int32_t nuclideKind, double latitude, double pressure, double thickness, double shielding,
                         double density, double productionRate, double productionRateError, double& localRate,
                         double& localRateError);

// Exposure age and its uncertainty (years) with decay (half-life in years)
// and steady erosion (cm/yr) through rock of the density (g/cm3) and
// attenuation length (g/cm2).
void ExposureAgeWithErosion(double halfLife, double concentration, double concentrationError, double attenuationLength,
                            double density, double erosionRate, double localRate, double localRateError, double& age,
                            double& ageError);

} // namespace qex
