#include "scaling/ScalingSchemes.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace qex {

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr double kRadiansToDegrees = 57.29577951308232;

constexpr double kSeaLevelPressureHpa = 1013.25;
constexpr double kSeaLevelTemperatureK = 288.15;
constexpr double kLapseRateKPerM = 0.0065;
// g/cm^2 of air per hPa: 1 hPa = 100 Pa, divided by g = 9.80665 m/s^2.
constexpr double kAtmosphericDepthPerHpa = 1.0197162129779282;

// The coefficient tables have one row per 10 degrees of latitude, 0 to 60;
// the 60-degree row also serves every latitude above it.
constexpr std::size_t kLatitudeRows = 7;
constexpr double kRowSpacingDeg = 10.0;

template <std::size_t Columns>
using CoefficientTable = std::array<std::array<double, Columns>, kLatitudeRows>;

// Stone 2000: spallation coefficients a, b, c, d, e and the muon factor M.
constexpr CoefficientTable<6> kStone2000 = {{
    {31.8518, 250.3193, -0.083393, 7.426e-05, -2.2397e-08, 0.587},   //  0 deg
    {34.3699, 258.4759, -0.089807, 7.9457e-05, -2.3697e-08, 0.6},    // 10 deg
    {40.3153, 308.9894, -0.106248, 9.4508e-05, -2.8234e-08, 0.678},  // 20 deg
    {42.0983, 512.6857, -0.120551, 0.00011752, -3.8809e-08, 0.833},  // 30 deg
    {56.7733, 649.1343, -0.160859, 0.00015463, -5.033e-08, 0.933},   // 40 deg
    {69.072, 832.4566, -0.199252, 0.00019391, -6.3653e-08, 1.0},     // 50 deg
    {71.8733, 863.1927, -0.207069, 0.00020127, -6.6043e-08, 1.0},    // 60 deg and above
}};

// Lal 1991: cubic in altitude (km), coefficients k0, k1, k2, k3, for 10Be.
// The 60-degree k0 is below the 50-degree one; the table stands as published.
constexpr CoefficientTable<4> kLal1991Be = {{
    {3.511, 2.547, 0.95125, 0.18608},   //  0 deg
    {3.597, 2.522, 1.0668, 0.1883},     // 10 deg
    {4.0607, 2.734, 1.2673, 0.22529},   // 20 deg
    {4.994, 3.904, 0.9739, 0.42671},    // 30 deg
    {5.594, 4.946, 1.3817, 0.53176},    // 40 deg
    {6.064, 5.715, 1.6473, 0.68684},    // 50 deg
    {5.994, 6.018, 1.7045, 0.71184},    // 60 deg and above
}};

// Lal 1991: the same cubic for 26Al.
constexpr CoefficientTable<4> kLal1991Al = {{
    {21.47, 15.45, 5.751, 1.1154},   //  0 deg
    {22.0, 15.32, 6.444, 1.1287},    // 10 deg
    {24.84, 16.61, 7.652, 1.3504},   // 20 deg
    {30.55, 23.67, 5.911, 2.5563},   // 30 deg
    {34.21, 29.92, 8.361, 3.1853},   // 40 deg
    {37.08, 34.57, 9.955, 4.1138},   // 50 deg
    {36.67, 36.38, 10.3, 4.2634},    // 60 deg and above
}};

// Dunai 2000: the scheme's own standard atmosphere (its exponent differs from
// StandardAtmospherePressure's on purpose; the two are kept apart).
constexpr double kDunaiPressureExponent = 5.255932362359814;
constexpr double kDunaiMuonAttenuationGcm2 = 247.0;

// Coefficients for |latitude|, linear between the 10-degree rows; the
// 60-degree row unchanged at 60 degrees and above (also for a NaN latitude,
// so the row index never leaves the table).
template <std::size_t Columns>
std::array<double, Columns> InterpolateRow(const CoefficientTable<Columns>& table, double latitude)
{
    const double magnitude = std::fabs(latitude);
    constexpr std::size_t last = kLatitudeRows - 1;
    if (!(magnitude < kRowSpacingDeg * static_cast<double>(last)))
        return table[last];
    const auto i = static_cast<std::size_t>(magnitude / kRowSpacingDeg);
    const double offset = magnitude - kRowSpacingDeg * static_cast<double>(i);
    std::array<double, Columns> row{};
    for (std::size_t c = 0; c < Columns; ++c)
        row[c] = table[i][c] + offset * (table[i + 1][c] - table[i][c]) / kRowSpacingDeg;
    return row;
}

// Lal 1991: the cubic in altitude, relative to the 60-degree sea-level rate k0.
double LalScalingFactor(const CoefficientTable<4>& table, double latitude, double altitude)
{
    const double y = altitude / 1000.0; // km
    const auto k = InterpolateRow(table, latitude);
    const double k60 = table[kLatitudeRows - 1][0];
    return (k[0] + k[1] * y + k[2] * y * y + k[3] * y * y * y) / k60;
}

// Dunai 2000, nucleon scaling at sea level as a function of inclination (deg).
double DunaiNucleonFactor(double inclination)
{
    return 0.5555 + 0.445 / std::pow(1.0 + std::exp((inclination - 62.698) / -4.1703), 0.335);
}

// Dunai 2000, nucleon attenuation length (g/cm^2) as a function of inclination (deg).
double DunaiNucleonAttenuation(double inclination)
{
    return 129.55 + 19.85 / std::pow(1.0 + std::exp((inclination - 62.05) / 5.43), 3.59);
}

} // namespace

double StandardAtmospherePressure(double altitude)
{
    // Barometric formula with a linear temperature lapse.
    return kSeaLevelPressureHpa *
           std::exp(5.256923076923077 * (std::log(kSeaLevelTemperatureK - kLapseRateKPerM * altitude) -
                                         std::log(kSeaLevelTemperatureK)));
}

double AntarcticPressure(double altitude)
{
    // Stone 2000: exponential fit to Antarctic station pressures.
    return 989.1 * std::exp(altitude / -7588.0);
}

double StoneScalingFactor(double latitude, double pressure, double muonFraction)
{
    const auto k = InterpolateRow(kStone2000, latitude);
    const double p = pressure;
    // Stone 2000: spallation, a polynomial and an exponential in pressure.
    const double spallation = k[0] + k[1] * std::exp(p / -150.0) + k[2] * p + k[3] * p * p + k[4] * p * p * p;
    // Stone 2000: muons, exponential in pressure with a 242 hPa scale.
    const double muons = k[5] * std::exp((kSeaLevelPressureHpa - p) / 242.0);
    return (1.0 - muonFraction) * spallation + muonFraction * muons;
}

double LalBeScalingFactor(double latitude, double altitude)
{
    return LalScalingFactor(kLal1991Be, latitude, altitude);
}

double LalAlScalingFactor(double latitude, double altitude)
{
    return LalScalingFactor(kLal1991Al, latitude, altitude);
}

double DunaiScalingFactor(double latitude, double altitude, double muonFraction)
{
    // Inclination of an axial dipole field: tan I = 2 tan(latitude).
    const double inclination =
        std::atan(2.0 * std::tan(std::fabs(latitude) * kDegreesToRadians)) * kRadiansToDegrees;
    const double pressure =
        kSeaLevelPressureHpa *
        std::pow(1.0 - kLapseRateKPerM * altitude / kSeaLevelTemperatureK, kDunaiPressureExponent);
    // Atmospheric depth between sea level and the site, g/cm^2.
    const double depth = (kSeaLevelPressureHpa - pressure) * kAtmosphericDepthPerHpa;
    const double nucleons = DunaiNucleonFactor(inclination);
    const double attenuation = DunaiNucleonAttenuation(inclination);
    return (1.0 - muonFraction) * nucleons * std::exp(depth / attenuation) +
           muonFraction * nucleons * std::exp(depth / kDunaiMuonAttenuationGcm2);
}

double AttenuationLengthForLatitude(double latitude)
{
    const double magnitude = std::fabs(latitude);
    if (magnitude > 60.0)
        return 150.0;
    if (magnitude < 30.0)
        return 170.0;
    return 160.0;
}

} // namespace qex
