#include "geomag/ExposureAgeResult.h"

#include "core/Constants.h"
#include "core/FileIdentity.h"
#include "core/Format.h"
#include "core/HalfLives.h"
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
    LocalProductionRate(kBe10, in.latitude, pressure, in.thickness, in.shield, in.density, in.productionRate,
                        in.productionRateError, rate, rateError);
    if (!(rate > 0.0)) {
        ShowMessage("The production rate at this site is zero: no exposure age.");
        return NAN;
    }
    double age = 0.0;
    double ageError = 0.0;
    ExposureAgeWithErosion(in.be10HalfLife, in.concentration, in.concentrationError, in.freePath, in.density, in.erosion,
                           rate, rateError, age, ageError);
    if (!std::isfinite(age) || age < 0.0) {
        ShowMessage("The concentration is at or above what production at this site can sustain: no exposure age.");
        return NAN;
    }
    return age;
}

void AppendAge(const ExposureInputs& in, double age, CResultList& list, COutputBlocks* blocks)
{
    AppendResult(list, ExposureOutputTable(), ExposureResult{age, HalfLifeProvenance({in.be10HalfLife, in.al26HalfLife})},
                 blocks);
}

} // namespace

const OutputTable<ExposureResult>& ExposureOutputTable()
{
    using R = ExposureResult;
    static const OutputRow<R> rows[] = {
        {.label = "Exposure Age", .format = "%s:   %-5.6f", .name = "exposure_age_yr", .unit = "yr", .field = &R::age},
        ProvenanceRow<R, &R::constants>(),
    };
    static const OutputTable<R> table{rows};
    return table;
}

const InputTable<ExposureInputs>& ExposureInputTable()
{
    using In = ExposureInputs;
    static const InputRow<In> rows[] = {
        {.name = "latitude", .controlId = 1021, .member = "m_dLatitude", .label = "Site latitude",
         .unit = "degrees", .field = &In::latitude, .range = InputRange{-90.0, 90.0}, .help = "north positive"},
        {.name = "longitude", .controlId = 1022, .member = "m_dLongitude", .label = "Site longitude",
         .unit = "degrees", .field = &In::longitude, .range = InputRange{-180.0, 180.0},
         .help = "east positive; used by the geomagnetic correction"},
        {.name = "altitude", .controlId = 1023, .member = "m_dAltitude", .label = "Site altitude", .unit = "m",
         .field = &In::altitude, .range = InputRange{0.0, 100000.0}},
        {.name = "thickness", .controlId = 1024, .member = "m_dThickness", .label = "Sample thickness", .unit = "cm",
         .field = &In::thickness, .range = InputRange{0.0, 1000.0}},
        {.name = "density", .controlId = 1025, .member = "m_dDensity", .label = "Rock density", .unit = "g/cm3",
         .field = &In::density, .range = InputRange{0.0, 10.0}},
        {.name = "free-path", .controlId = 1026, .member = "m_dFreePath", .label = "Attenuation length",
         .unit = "g/cm2", .field = &In::freePath, .range = InputRange{0.0, 200.0},
         .help = "of the erosion term; not used by the geomagnetic correction"},
        {.name = "shield", .controlId = 1027, .member = "m_dShield", .label = "Topographic shielding factor",
         .boxUnit = "fraction 0–1", .field = &In::shield, .range = InputRange{0.0, 1.0}, .help = "not used by the geomagnetic correction"},
        {.name = "erosion", .controlId = 1028, .member = "m_dErosion", .label = "Steady erosion rate",
         .unit = "cm/yr", .field = &In::erosion, .range = InputRange{0.0, 1000.0}},
        {.name = "concentration", .controlId = 1016, .member = "m_dN", .label = "Measured 10Be concentration",
         .unit = "atoms/g", .field = &In::concentration, .range = InputRange{0.0, 1e9}},
        {.name = "concentration-err", .controlId = 1017, .member = "m_dDelN",
         .label = "Uncertainty of the 10Be concentration", .unit = "atoms/g", .field = &In::concentrationError,
         .range = InputRange{0.0, 1000000.0}},
        {.name = "production-rate", .controlId = 1019, .member = "m_dP", .label = "10Be production rate",
         .unit = "atoms/g/yr", .field = &In::productionRate, .range = InputRange{0.0, 10000.0},
         .help = "at sea level and high latitude"},
        {.name = "production-rate-err", .controlId = 1020, .member = "m_dDelP",
         .label = "Uncertainty of the production rate", .unit = "atoms/g/yr", .field = &In::productionRateError,
         .range = InputRange{0.0, 100.0}},
        {.name = "geomagnetic", .controlId = 1018, .member = "m_bMagneticCorrection",
         .label = "Earth's magnetic change correction", .kind = InputKind::Flag, .field = &In::magneticCorrection,
         .help = "production follows the wandering pole and the changing field strength"},
        {.name = "pole", .label = "Geomagnetic pole records", .kind = InputKind::FileToRead, .field = &In::polePath,
         .help = "read with the geomagnetic correction"},
        {.name = "intensity", .label = "Geomagnetic intensity records", .kind = InputKind::FileToRead,
         .field = &In::intensityPath, .help = "read with the geomagnetic correction"},
        {.name = "table", .label = "Scratch intensity table to write", .kind = InputKind::FileToWrite,
         .field = &In::tablePath, .help = "written with the geomagnetic correction"},
        Be10HalfLifeRow(&In::be10HalfLife),
        Al26HalfLifeRow(&In::al26HalfLife),
    };
    static const InputTable<In> table(rows);
    return table;
}

bool AppendExposureAge(const ExposureInputs& in, CResultList& list, COutputBlocks* blocks)
{
    // Both paths scale production with the standard atmosphere.
    if (!AltitudeHasPressure(in.altitude))
        return false;
    if (!in.magneticCorrection) {
        const double age = ConstantProductionAge(in);
        if (std::isnan(age))
            return false;
        AppendAge(in, age, list, blocks);
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
    nuclide.Init(kBe10);
    nuclide.halfLife = in.be10HalfLife;
    nuclide.decayConstant = kLn2 / in.be10HalfLife;
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
    AppendAge(in, age.first, list, blocks);
    // A batch row makes no scratch table: its rows would all write one file.
    if (!in.tablePath.empty())
        site.WriteIntensityTable(in.tablePath, &intensities, &nuclide, kStone2000);
    return true;
}

} // namespace qex
