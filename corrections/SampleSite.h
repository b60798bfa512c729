#pragma once
// A sampled site: where it lies, what the rock is, the skyline around it and
// the slope of the sampled surface. Created for one calculation.

#include <array>
#include <vector>

namespace qex {

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
    std::array<double, 360> horizon{}; // combined horizon angle of each one-degree bin, degrees
    double dip = 0.0;             // dip of the sampled surface, degrees
    double strike = 0.0;          // strike of the sampled surface, degrees
    double thickness = 2.0;       // sample thickness, cm

    // Fraction of the cosmic-ray flux of an open flat site that still arrives,
    // from the skyline and the surface's own slope; fills `horizon`.
    double TopographicShielding();
};

} // namespace qex
