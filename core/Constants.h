#pragma once
// The physical and numerical constants of QEX, each defined once, with its
// unit and where it comes from. The coefficient tables of the scaling schemes
// stay beside their formulas (scaling/ScalingSchemes.cpp), each citing its
// paper.

#include <cstdint>

namespace qex {

// Angles: degrees to radians (pi / 180) and back (180 / pi).
inline constexpr double kRadiansPerDegree = 0.017453292519943295;
inline constexpr double kDegreesPerRadian = 57.29577951308232;

// ln 2: a decay constant is ln 2 / half-life.
inline constexpr double kLn2 = 0.69314718055994530942;

// Years in a kyr, the unit in which the lists show ages and the simulation
// dialog takes erosion rates (cm/kyr).
inline constexpr double kYearsPerKyr = 1000.0;

// The age of the Earth, yr: the oldest solids of the solar system, 4567.3 Myr
// (Connelly et al. 2012, Pb-Pb ages of CAIs). No proxy record goes further back.
inline constexpr double kAgeOfEarthYears = 4.5673e9;

// The nuclides, numbered once for every calculation (CNuclide::kind, the
// local production rate, the scaling selection).
enum NuclideKind : std::int32_t {
    kBe10 = 0, // 10Be
    kAl26 = 1, // 26Al
    kCl36 = 2, // 36Cl, its half-life only
    kC14 = 3,  // 14C, its half-life only
};

// Half-lives (yr). 10Be: 1.5 Myr, the value used before the measurements of
// Chmeleff et al. (2010) and Korschinek et al. (2010) gave 1.387 Myr; 26Al:
// 0.71 Myr, before Nishiizumi (2004) gave 0.705 Myr. The ages QEX reports
// rest on 1.5 and 0.71 Myr unless the user chooses others (core/HalfLives.h).
// 14C: the Cambridge half-life.
inline constexpr double kBe10HalfLifeYears = 1500000.0;
inline constexpr double kAl26HalfLifeYears = 710000.0;
// Today's values: 10Be, Chmeleff et al. (2010) and Korschinek et al. (2010);
// 26Al, Nishiizumi (2004).
inline constexpr double kBe10CurrentHalfLifeYears = 1387000.0;
inline constexpr double kAl26CurrentHalfLifeYears = 705000.0;
inline constexpr double kCl36HalfLifeYears = 301000.0;
inline constexpr double kC14HalfLifeYears = 5730.0;

// Decay constants (1/yr): ln 2 / half-life.
inline constexpr double kBe10DecayConstant = kLn2 / kBe10HalfLifeYears;
inline constexpr double kAl26DecayConstant = kLn2 / kAl26HalfLifeYears;

// Production rates at sea level and high latitude with their uncertainties
// (atoms/g/yr), and the share of that production by spallation; the rest is
// by muons.
inline constexpr double kBe10SeaLevelProduction = 5.1;
inline constexpr double kBe10SeaLevelProductionError = 0.3;
inline constexpr double kBe10SpallationShare = 0.978;
inline constexpr double kAl26SeaLevelProduction = 31.1;
inline constexpr double kAl26SeaLevelProductionError = 1.8;
inline constexpr double kAl26SpallationShare = 0.974;

// The standard atmosphere at sea level: pressure (hPa), temperature (K) and
// the temperature lapse rate beta (K/m).
inline constexpr double kSeaLevelPressureHpa = 1013.25;
inline constexpr double kSeaLevelTemperatureK = 288.15;
inline constexpr double kLapseRateKPerM = 0.0065;
// g M / R of air (K/m), as Stone (2000) gives it with eq. 1.
inline constexpr double kGravityMolarMassOverGasConstant = 0.03417;
// The exponent of Stone (2000) eq. 1, g M / (R beta) = 5.256923076923077.
inline constexpr double kStandardAtmosphereExponent = kGravityMolarMassOverGasConstant / kLapseRateKPerM;
// Mass of air above one square centimetre per hPa of pressure (g/cm2/hPa):
// 100 Pa divided by g = 9.80665 m/s2 is 10.197 kg/m2.
inline constexpr double kAtmosphericDepthPerHpa = 1.0197162129779282;

// Attenuation lengths of the nucleonic cosmic-ray flux in rock (g/cm2) by
// latitude band: below 30 degrees, from 30 to 60 degrees, above 60 degrees.
inline constexpr double kLowLatitudeAttenuationLength = 170.0;
inline constexpr double kMidLatitudeAttenuationLength = 160.0;
inline constexpr double kHighLatitudeAttenuationLength = 150.0;
// Latitudes (degrees, magnitude) where the bands meet.
inline constexpr double kLowLatitudeBandEnd = 30.0;
inline constexpr double kHighLatitudeBandStart = 60.0;
// Attenuation length of muons in air, Dunai (2000) (g/cm2).
inline constexpr double kDunaiMuonAttenuationLength = 247.0;

// Records and curve points closer in age than this (years) are one.
inline constexpr double kSameAgeYears = 0.001;

} // namespace qex
