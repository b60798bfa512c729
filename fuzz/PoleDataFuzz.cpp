// The geomagnetic pole reader on any bytes; records that load give every
// site a geomagnetic latitude, and the corrected exposure age on them (with a
// field of today's strength at the same ages) is an age or a refusal.

#include "core/Format.h"
#include "fuzz/FuzzSupport.h"
#include "geomag/ExposureAge.h"
#include "geomag/GeomagneticIntensityData.h"
#include "geomag/GeomagneticPoleData.h"
#include "scaling/Nuclide.h"

#include <cmath>

using namespace qex;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::DropMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = fuzz::Text(data, size);
    CGeomagneticPoleData poles{std::string()}; // no file: the bytes are loaded below
    if (poles.LoadText(text) != 1)
        return 0;
    fuzz::Require(poles.years.size() == static_cast<std::size_t>(poles.pointCount) &&
                      poles.poleLatitudes.size() == poles.years.size() &&
                      poles.poleLongitudes.size() == poles.years.size(),
                  "a loaded file holds pointCount records");
    for (std::size_t i = 1; i < poles.years.size(); ++i)
        fuzz::Require(std::fabs(poles.years[i] - poles.years[i - 1]) >= 0.001, "close ages are merged");

    // Sites in degrees: the exposure dialog's default, a pole, the date line.
    const double sites[][2] = {{34.33375, 77.35}, {-90.0, 0.0}, {0.0, 180.0}};
    for (const auto& site : sites) {
        poles.geomagneticLatitudes.clear();
        poles.ComputeGeomagneticLatitudes(site[0], site[1]);
        fuzz::Require(poles.geomagneticLatitudes.size() == poles.years.size(), "one latitude per record");
        for (double m : poles.geomagneticLatitudes)
            fuzz::Require(m >= -90.0 && m <= 90.0, "a geomagnetic latitude lies within -90 to 90");
    }

    std::string field = "Geomagnetic_Intensity_Data\nToday\n";
    for (double year : poles.years)
        field += Format("%.17g 1\n", year);
    CGeomagneticIntensityData intensities{std::string()};
    intensities.LoadText(field);
    CGeomagneticPoleData again{std::string()};
    again.LoadText(text);
    CSampleSite site;
    site.latitude = 34.33375;
    site.longitude = 77.35;
    CNuclide be10;
    be10.Init(kBe10);
    be10.concentration = 2139000.0; // atoms/g, the dialog's default
    const ResultPair age = site.GeomagneticExposureAge(&again, &intensities, &be10, 0.0);
    fuzz::Require(age.first == -1.0 || (std::isfinite(age.first) && age.first >= 0.0),
                  "the corrected age is an age or no result");
    return 0;
}
