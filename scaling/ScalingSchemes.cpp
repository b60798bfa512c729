#include "scaling/ScalingSchemes.h"

#include "core/Constants.h"

#include <array>
#include <cmath>
#include <cstddef>

namespace qex {

namespace {

// The coefficient tables have one row per 10 degrees of latitude, 0 to 60;
// the 60-degree row also serves every latitude above it.
constexpr std::size_t kLatitudeRows = 7;
constexpr double kRowSpacingDeg = 10.0;

template <std::size_t Columns>
using CoefficientTable = std::array<std::array<double, Columns>, kLatitudeRows>;

// Stone (2000), Table 1: spallation coefficients a, b, c, d, e and the muon
// factor M, Lal's (1991) polynomials rewritten for air pressure.
constexpr CoefficientTable<6> kStone2000 = {{
    {31.8518, 250.3193, -0.083393, 7.426e-05, -2.2397e-08, 0.587},   //  0 deg
    {34.3699, 258.4759, -0.089807, 7.9457e-05, -2.3697e-08, 0.6},    // 10 deg
    {40.3153, 308.9894, -0.106248, 9.4508e-05, -2.8234e-08, 0.678},  // 20 deg
    {42.0983, 512.6857, -0.120551, 0.00011752, -3.8809e-08, 0.833},  // 30 deg
    {56.7733, 649.1343, -0.160859, 0.00015463, -5.033e-08, 0.933},   // 40 deg
    {69.072, 832.4566, -0.199252, 0.00019391, -6.3653e-08, 1.0},     // 50 deg
    {71.8733, 863.1927, -0.207069, 0.00020127, -6.6043e-08, 1.0},    // 60 deg and above
}};

// Lal (1991): production rate (atoms/g/yr) as a cubic in altitude (km),
// coefficients k0, k1, k2, k3, for 10Be. The 60-degree k0 is below
// the 50-degree one; the table stands as published.
constexpr CoefficientTable<4> kLal1991Be = {{
    {3.511, 2.547, 0.95125, 0.18608},   //  0 deg
    {3.597, 2.522, 1.0668, 0.1883},     // 10 deg
    {4.0607, 2.734, 1.2673, 0.22529},   // 20 deg
    {4.994, 3.904, 0.9739, 0.42671},    // 30 deg
    {5.594, 4.946, 1.3817, 0.53176},    // 40 deg
    {6.064, 5.715, 1.6473, 0.68684},    // 50 deg
    {5.994, 6.018, 1.7045, 0.71184},    // 60 deg and above
}};

// Lal (1991): the same cubic for 26Al.
constexpr CoefficientTable<4> kLal1991Al = {{
    {21.47, 15.45, 5.751, 1.1154},   //  0 deg
    {22.0, 15.32, 6.444, 1.1287},    // 10 deg
    {24.84, 16.61, 7.652, 1.3504},   // 20 deg
    {30.55, 23.67, 5.911, 2.5563},   // 30 deg
    {34.21, 29.92, 8.361, 3.1853},   // 40 deg
    {37.08, 34.57, 9.955, 4.1138},   // 50 deg
    {36.67, 36.38, 10.3, 4.2634},    // 60 deg and above
}};

// Dunai (2000) converts altitude with a standard atmosphere of its own: its
// exponent is not Stone's (2000) g M / (R beta) = 5.256923076923077, and the
// two are kept apart.
constexpr double kDunaiPressureExponent = 5.255932362359814;

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

// Lal (1991): the cubic in altitude, k0 + k1 y + k2 y^2 + k3 y^3 with y in km,
// relative to the 60-degree sea-level rate k0.
double LalScalingFactor(const CoefficientTable<4>& table, double latitude, double altitude)
{
    constexpr double kMetresPerKm = 1000.0;
    const double y = altitude / kMetresPerKm;
    const auto k = InterpolateRow(table, latitude);
    const double k60 = table[kLatitudeRows - 1][0];
    return (k[0] + k[1] * y + k[2] * y * y + k[3] * y * y * y) / k60;
}

// Dunai (2000): sea-level nucleon flux relative to high latitudes, a sigmoid
// fitted against the field's inclination I (deg): Y + A / (1 + exp((I - X) / B))^C.
double DunaiNucleonFactor(double inclination)
{
    return 0.5555 + 0.445 / std::pow(1.0 + std::exp((inclination - 62.698) / -4.1703), 0.335);
}

// Dunai (2000): attenuation length of nucleons in air (g/cm^2), the same
// sigmoid form fitted against inclination (deg).
double DunaiNucleonAttenuation(double inclination)
{
    return 129.55 + 19.85 / std::pow(1.0 + std::exp((inclination - 62.05) / 5.43), 3.59);
}

} // namespace

double StandardAtmospherePressure(double altitude)
{
    // Stone (2000) eq. 1: p = Ps exp(-(g M / (R beta)) (ln Ts - ln(Ts - beta z))),
    // the standard atmosphere with a linear temperature lapse beta.
    return kSeaLevelPressureHpa *
           std::exp(kStandardAtmosphereExponent * (std::log(kSeaLevelTemperatureK - kLapseRateKPerM * altitude) -
                                                   std::log(kSeaLevelTemperatureK)));
}

double AntarcticPressure(double altitude)
{
    // Stone (2000): an exponential fitted to the pressures of Antarctic
    // stations, 989.1 hPa at sea level with a scale height of 7588 m.
    constexpr double kAntarcticSeaLevelPressureHpa = 989.1;
    constexpr double kAntarcticScaleHeightM = 7588.0;
    return kAntarcticSeaLevelPressureHpa * std::exp(altitude / -kAntarcticScaleHeightM);
}

double StoneScalingFactor(double latitude, double pressure, double muonFraction)
{
    const auto k = InterpolateRow(kStone2000, latitude);
    const double p = pressure;
    // Stone (2000): spallation, a + b exp(-P/150) + c P + d P^2 + e P^3.
    const double spallation = k[0] + k[1] * std::exp(p / -150.0) + k[2] * p + k[3] * p * p + k[4] * p * p * p;
    // Stone (2000): muons, M exp((1013.25 - P) / 242), an exponential in
    // pressure with a 242 hPa scale.
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
        std::atan(2.0 * std::tan(std::fabs(latitude) * kRadiansPerDegree)) * kDegreesPerRadian;
    // Dunai (2000): the scheme's own standard atmosphere.
    const double pressure =
        kSeaLevelPressureHpa *
        std::pow(1.0 - kLapseRateKPerM * altitude / kSeaLevelTemperatureK, kDunaiPressureExponent);
    // Atmospheric depth between sea level and the site, g/cm^2.
    const double depth = (kSeaLevelPressureHpa - pressure) * kAtmosphericDepthPerHpa;
    const double nucleons = DunaiNucleonFactor(inclination);
    const double attenuation = DunaiNucleonAttenuation(inclination);
    // Dunai (2000): nucleons and muons, each growing exponentially with the
    // atmospheric depth above sea level over its own attenuation length.
    return (1.0 - muonFraction) * nucleons * std::exp(depth / attenuation) +
           muonFraction * nucleons * std::exp(depth / kDunaiMuonAttenuationLength);
}

double AttenuationLengthForLatitude(double latitude)
{
    const double magnitude = std::fabs(latitude);
    if (magnitude > kHighLatitudeBandStart)
        return kHighLatitudeAttenuationLength;
    if (magnitude < kLowLatitudeBandEnd)
        return kLowLatitudeAttenuationLength;
    return kMidLatitudeAttenuationLength;
}

} // namespace qex
