#pragma once
// Latitude-altitude scaling of cosmogenic-nuclide production: the factor that
// turns the sea-level, high-latitude production rate into the rate at a site.
// Four published schemes side by side ("Stone 2000", "Lal 1991 Be",
// "Lal 1991 Al", "Dunai 2000"), the two air-pressure models, and the
// latitude-banded attenuation length.
//
// Units throughout: latitude in decimal degrees (north positive; every scheme
// uses its magnitude), altitude in metres above sea level, air pressure in hPa,
// attenuation length in g/cm^2, the muon contribution as a fraction 0..1 of
// sea-level production. Pure functions: no state, no messages, no failure.

namespace qex {

// Air pressure (hPa) at an altitude (m) by the standard atmosphere.
double StandardAtmospherePressure(double altitude);

// Air pressure (hPa) at an altitude (m) by the Antarctic atmosphere.
double AntarcticPressure(double altitude);

// Stone 2000 scaling factor at a latitude (deg) and air pressure (hPa), with
// the muon contribution f. The caller chooses the pressure model.
double StoneScalingFactor(double latitude, double pressure, double muonFraction);

// Lal 1991 scaling factor for 10Be at a latitude (deg) and altitude (m).
double LalBeScalingFactor(double latitude, double altitude);

// Lal 1991 scaling factor for 26Al at a latitude (deg) and altitude (m).
double LalAlScalingFactor(double latitude, double altitude);

// Dunai 2000 scaling factor at a latitude (deg) and altitude (m), with the muon
// contribution f. The axial dipole's shielding is symmetric about the equator,
// so southern latitudes give the values of their northern mirror.
double DunaiScalingFactor(double latitude, double altitude, double muonFraction);

// Attenuation length (g/cm^2) for a latitude (deg): 170 below 30 degrees,
// 150 above 60 degrees, 160 in between (30 and 60 included).
double AttenuationLengthForLatitude(double latitude);

} // namespace qex
