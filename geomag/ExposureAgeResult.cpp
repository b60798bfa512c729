#include "geomag/ExposureAgeResult.h"

#include "core/BuildUp.h"
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

// The age under today's production at the site, with its internal and
// external uncertainties; false after a message when there is none.
bool ConstantProductionAge(const ExposureInputs& in, ExposureResult& result)
{
    SampleProduction sample;
    if (!PrepareSample(in, "exposure age", sample))
        return false;
    // Loss by decay and by erosion carrying the sample towards the surface.
    const double mu = LossConstant(sample.decayConstant, in.density, in.erosion, in.freePath);
    const Concentration& N = sample.concentration;
    const ResultPair external = ClosedFormExposureAge(sample.rate, sample.rateError, N.value, N.error, mu);
    if (!std::isfinite(external.first) || external.first < 0.0) {
        ShowMessage("The concentration is at or above what production at this site can sustain: no exposure age.");
        return false;
    }
    result.age = external.first;
    result.external = external.second;
    result.internal = ClosedFormExposureAge(sample.rate, 0.0, N.value, N.error, mu).second;
    return true;
}

void AppendAge(const ExposureInputs& in, ExposureResult result, CResultList& list, COutputBlocks* blocks)
{
    result.constants = SampleProvenance(in);
    AppendResult(list, ExposureOutputTable(), result, blocks);
}

bool ListsUncertainties(const ExposureResult& result)
{
    return result.uncertainties;
}

// The geomagnetic correction scales its production with the standard atmosphere alone.
std::string ExposureCheck(ExposureInputs& in, const GivenInputs&)
{
    if (in.magneticCorrection && in.atmosphere != kStandardAtmosphere)
        return "the geomagnetic correction takes atmosphere std only";
    return CheckSample(in);
}

} // namespace

const OutputTable<ExposureResult>& ExposureOutputTable()
{
    using R = ExposureResult;
    static const OutputRow<R> rows[] = {
        {.label = "Exposure Age", .format = "%s:   %-5.6f", .name = "exposure_age_yr", .unit = "yr", .field = &R::age},
        {.label = "Internal uncertainty", .format = "%s:   %-5.6f", .name = "internal_uncertainty_yr", .unit = "yr",
         .field = &R::internal, .shown = ListsUncertainties, .optional = true},
        {.label = "External uncertainty", .format = "%s:   %-5.6f", .name = "external_uncertainty_yr", .unit = "yr",
         .field = &R::external, .shown = ListsUncertainties, .optional = true},
        ProvenanceRow<R, &R::constants>(),
    };
    static const OutputTable<R> table{rows};
    return table;
}

const InputTable<ExposureInputs>& ExposureInputTable()
{
    using In = ExposureInputs;
    static const NuclideSampleRows<In> s = MakeNuclideSampleRows<In>(
        "of the erosion term; not used by the geomagnetic correction", "not used by the geomagnetic correction");
    static const InputRow<In> rows[] = {
        s.latitude,
        {.name = "longitude", .controlId = 1022, .member = "m_dLongitude", .label = "Site longitude",
         .unit = "degrees", .field = &In::longitude, .range = InputRange{-180.0, 180.0},
         .help = "east positive; used by the geomagnetic correction"},
        s.altitude,
        s.thickness,
        s.density,
        s.freePath,
        s.shield,
        {.name = "erosion", .controlId = 1028, .member = "m_dErosion", .label = "Steady erosion rate",
         .unit = "cm/yr", .field = &In::erosion, .range = InputRange{0.0, 1000.0}},
        s.concentration,
        s.concentrationError,
        s.productionRate,
        s.productionRateError,
        {.name = "geomagnetic", .controlId = 1018, .member = "m_bMagneticCorrection",
         .label = "Earth's magnetic change correction", .kind = InputKind::Flag, .field = &In::magneticCorrection,
         .help = "production follows the wandering pole and the changing field strength"},
        {.name = "pole", .label = "Geomagnetic pole records", .kind = InputKind::FileToRead, .field = &In::polePath,
         .help = "read with the geomagnetic correction"},
        {.name = "intensity", .label = "Geomagnetic intensity records", .kind = InputKind::FileToRead,
         .field = &In::intensityPath, .help = "read with the geomagnetic correction"},
        {.name = "table", .label = "Scratch intensity table to write", .kind = InputKind::FileToWrite,
         .field = &In::tablePath, .help = "written with the geomagnetic correction"},
        s.be10HalfLife,
        s.al26HalfLife,
        s.nuclide,
        s.be10Standard,
        s.al26Standard,
        s.constants,
        s.atmosphere,
        s.pressure,
        s.uncertainties,
    };
    static const InputTable<In> table(rows, ExposureCheck);
    return table;
}

bool AppendExposureAge(const ExposureInputs& in, CResultList& list, COutputBlocks* blocks)
{
    ExposureResult result;
    result.uncertainties = ListsUncertainties(in);
    if (!in.magneticCorrection) {
        if (!ConstantProductionAge(in, result))
            return false;
        AppendAge(in, result, list, blocks);
        return true;
    }

    // The correction scales production itself, with the standard atmosphere.
    if (!SiteHasPressure(in, "exposure age"))
        return false;
    // The site as the correction sees it: no horizon and no slope (shielding
    // 1); the attenuation length follows the latitude band.
    CSampleSite site;
    site.density = in.density;
    site.latitude = in.latitude;
    site.longitude = in.longitude;
    site.altitude = in.altitude;
    site.thickness = in.thickness;
    CNuclide nuclide;
    nuclide.Init(NuclideOfName(in.nuclide));
    nuclide.halfLife = SampleHalfLife(in);
    nuclide.decayConstant = kLn2 / nuclide.halfLife;
    nuclide.productionRate = in.productionRate;
    nuclide.productionRateError = in.productionRateError;
    const Concentration measured = NormalisedConcentration(in);
    nuclide.concentration = measured.value;
    nuclide.concentrationError = measured.error;

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
    // The integration over the field's past gives no uncertainty of its own.
    if (result.uncertainties) {
        ShowMessage("The geomagnetic correction gives no internal or external uncertainty; the age is listed alone.");
        result.uncertainties = false;
    }
    result.age = age.first;
    AppendAge(in, result, list, blocks);
    // A batch row makes no scratch table: its rows would all write one file.
    if (!in.tablePath.empty())
        site.WriteIntensityTable(in.tablePath, &intensities, &nuclide, kStone2000);
    return true;
}

} // namespace qex
