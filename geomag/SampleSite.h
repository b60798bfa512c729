#pragma once
// A sampled site: where it lies, what the rock is, the skyline around it and
// the slope of the sampled surface. Created for one calculation. Its
// operations reach from the topographic shielding to the exposure age under
// the past geomagnetic field, so the site lives with the exposure ages, which
// stand on everything it needs (scaling, corrections, geomagnetic records).

#include "corrections/TopographicShielding.h"
#include "scaling/NuclideScaling.h"

#include <string>
#include <utility>
#include <vector>

namespace qex {

class CNuclide;
class CGeomagneticIntensityData;
class CGeomagneticPoleData;

// A value and its uncertainty; (-1, -1) means no result.
using ResultPair = std::pair<double, double>;
inline constexpr ResultPair kNoResult{-1.0, -1.0};

class CSampleSite {
public:
    CSampleSite() = default;

    double density = 2.75;        // rock density, g/cm3
    double latitude = 0.0;        // degrees, north positive
    double longitude = 0.0;       // degrees, east positive
    double altitude = 0.0;        // metres
    int horizonCount = 0;         // number of horizon points
    std::vector<double> azimuths; // azimuth of each horizon point, degrees
    std::vector<double> angles;   // elevation of the skyline at that azimuth, degrees
    HorizonBins horizon{};        // combined horizon angle of each one-degree bin, degrees
    double dip = 0.0;             // dip of the sampled surface, degrees
    double strike = 0.0;          // strike of the sampled surface, degrees
    double thickness = 2.0;       // sample thickness, cm

    // Fraction of the cosmic-ray flux of an open flat site that still arrives,
    // from the skyline and the surface's own slope; fills `horizon`.
    double TopographicShielding();

    // Scaling factor of the nuclide at the latitude (degrees) for this site's
    // altitude, by the scheme; 1 with a message when it cannot be chosen.
    double NuclideScalingFactor(const CNuclide* nuclide, double latitude, ScalingScheme scheme) const;

    // Production averaged over the sample's thickness relative to the surface,
    // for the attenuation length (g/cm2).
    double ThicknessFactor(double attenuationLength) const;

    // Local production rate and its uncertainty (atoms/g/yr) at the latitude:
    // scaling, thickness and topographic shielding applied.
    ResultPair ProductionRate(const CNuclide* nuclide, double latitude, ScalingScheme scheme);
    // The same under a shielding factor already known.
    ResultPair ProductionRate(const CNuclide* nuclide, double latitude, ScalingScheme scheme, double shielding);

    // Exposure age and its uncertainty (years) under today's production at the
    // site, with decay and steady erosion (cm/yr).
    ResultPair ConstantExposureAge(const CNuclide* nuclide, double erosionRate);

    // Exposure age (years) with production following the wandering pole and
    // the changing field strength; the uncertainty is -1. Fills the pole data's
    // geomagnetic latitudes for this site. `tests`, when given, receives the
    // number of convergence tests made.
    ResultPair GeomagneticExposureAge(CGeomagneticPoleData* poles, const CGeomagneticIntensityData* intensities,
                                      const CNuclide* nuclide, double erosionRate, int* tests = nullptr);

    // The scratch table: for every intensity record but the last, the
    // production at latitudes 0, 5, ..., 60 under that intensity relative to
    // today's.
    void WriteIntensityTable(std::string path, const CGeomagneticIntensityData* intensities, const CNuclide* nuclide,
                             ScalingScheme scheme);
};

} // namespace qex
