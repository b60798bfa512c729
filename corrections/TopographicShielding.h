#pragma once
// Topographic shielding: the fraction of the cosmic-ray flux of an open flat
// site that still reaches a sample below a skyline and on a sloping surface.

#include <array>
#include <vector>

namespace qex {

// The combined horizon angle (degrees) of each one-degree azimuth bin, bin k
// standing for the azimuth k degrees.
using HorizonBins = std::array<double, 360>;

// The shielding factor of the skyline given by the points (azimuth 0..360
// degrees, elevation angle 0..90 degrees, the first `count` of each list, in
// any order) and of the sampled surface's dip and strike (degrees); fills
// `horizon` with the angle that shields each bin.
double TopographicShieldingFactor(const std::vector<double>& azimuths, const std::vector<double>& angles, int count,
                                  double dip, double strike, HorizonBins& horizon);

} // namespace qex
