#include "geomag/ExposureAgeResult.h"

#include "core/FileIdentity.h"
#include "core/Format.h"
#include "core/InstalledFiles.h"
#include "core/Message.h"
#include "geomag/ExposureAge.h"
#include "geomag/GeomagneticIntensityData.h"
#include "geomag/GeomagneticPoleData.h"
#include "scaling/Nuclide.h"
#include "scaling/ScalingSchemes.h"

#include <cmath>

namespace qex {

namespace {
constexpr double kBe10HalfLife = 1500000.0; // years

// The standard atmosphere ends where its temperature reaches 0 K (about
// 44331 m); above it the air pressure, and so the production rate, has no value.
bool AltitudeHasPressure(double altitude)
{
    if (std::isfinite(StandardAtmospherePressure(altitude)))
        return true;
    ShowMessage(Format("The altitude %.15g m lies above the top of the standard atmosphere: no exposure age.",
                       altitude));
    return false;
}

// The age under today's production at the site; NaN when there is none.
double ConstantProductionAge(const ExposureInputs& in)
{
    const double pressure = StandardAtmospherePressure(in.altitude);
    double rate = 0.0;
    double rateError = 0.0;
    LocalProductionRate(10, in.latitude, pressure, in.thickness, in.shield, in.density, in.productionRate,
                        in.productionRateError, rate, rateError);
    if (!(rate > 0.0)) {
        ShowMessage("The production rate at this site is zero: no exposure age.");
        return NAN;
    }
    double age = 0.0;
    double ageError = 0.0;
    ExposureAgeWithErosion(kBe10HalfLife, in.concentration, in.concentrationError, in.freePath, in.density, in.erosion,
                           rate, rateError, age, ageError);
    if (!std::isfinite(age) || age < 0.0) {
        ShowMessage("The concentration is at or above what production at this site can sustain: no exposure age.");
        return NAN;
    }
    return age;
}

} // namespace

bool AppendExposureAge(const ExposureInputs& in, CResultList& list)
{
    // Both paths scale production with the standard atmosphere.
    if (!AltitudeHasPressure(in.altitude))
        return false;
    if (!in.magneticCorrection) {
        const double age = ConstantProductionAge(in);
        if (std::isnan(age))
            return false;
        list.AppendBlock({Format("Exposure Age:   %-5.6f", age)});
        return true;
    }

    // The site as the correction sees it: no horizon and no slope (shielding
    // 1); the attenuation length follows the latitude band.
    CSampleSite site;
    site.density = in.density;
    site.latitude = in.latitude;
    site.longitude = in.longitude;
    site.altitude = in.altitude;
    site.thickness = in.thickness;
    CNuclide nuclide;
    nuclide.Init(CNuclide::kBe10);
    nuclide.productionRate = in.productionRate;
    nuclide.productionRateError = in.productionRateError;
    nuclide.concentration = in.concentration;
    nuclide.concentrationError = in.concentrationError;

    const std::string polePath = in.poleMayBeInstalled ? WorkingOrInstalledRecord(in.polePath) : in.polePath;
    const std::string intensityPath =
        in.intensityMayBeInstalled ? WorkingOrInstalledRecord(in.intensityPath) : in.intensityPath;
    // The scratch table must not replace the records it is computed from.
    const FileClash clash = FindSameFile({{"Scratch table", in.tablePath, FileRole::Output},
                                          {"Pole file", polePath, FileRole::Input},
                                          {"Intensity file", intensityPath, FileRole::Input}});
    if (!clash.message.empty()) {
        ShowMessage(clash.message, clash.detail);
        return false;
    }
    CGeomagneticPoleData poles(polePath);
    CGeomagneticIntensityData intensities(intensityPath);
    if (!poles.IsLoaded() || !intensities.IsLoaded())
        return false; // the loader has said why
    const ResultPair age = site.GeomagneticExposureAge(&poles, &intensities, &nuclide, in.erosion);
    if (age.first < 0.0)
        return false;
    list.AppendBlock({Format("Exposure Age:   %-5.6f", age.first)});
    site.WriteIntensityTable(in.tablePath, &intensities, &nuclide, kStone2000);
    return true;
}

} // namespace qex
