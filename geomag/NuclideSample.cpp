#include "geomag/NuclideSample.h"

#include "core/Format.h"
#include "core/Message.h"
#include "geomag/ExposureAge.h"

namespace qex {

double SampleHalfLife(const NuclideSample& sample)
{
    return NuclideOfName(sample.nuclide) == kAl26 ? sample.al26HalfLife : sample.be10HalfLife;
}

Concentration NormalisedConcentration(const NuclideSample& sample)
{
    const NuclideKind nuclide = NuclideOfName(sample.nuclide);
    return NormaliseConcentration(nuclide, nuclide == kAl26 ? sample.al26Standard : sample.be10Standard,
                                  {sample.concentration, sample.concentrationError});
}

bool SiteHasPressure(const NuclideSample& sample, std::string_view result)
{
    if (std::isfinite(SitePressure(sample.atmosphere, sample.altitude, sample.pressure)))
        return true;
    ShowMessage(Format("The altitude %.15g m lies above the top of the standard atmosphere: no %s.", sample.altitude,
                       std::string(result).c_str()));
    return false;
}

bool PrepareSample(const NuclideSample& sample, std::string_view result, SampleProduction& prepared)
{
    if (!SiteHasPressure(sample, result))
        return false;
    prepared.nuclide = NuclideOfName(sample.nuclide);
    prepared.concentration = NormalisedConcentration(sample);
    LocalProductionRate(prepared.nuclide, sample.latitude, SitePressure(sample.atmosphere, sample.altitude, sample.pressure),
                        sample.thickness, sample.shield, sample.density, sample.productionRate,
                        sample.productionRateError, prepared.rate, prepared.rateError);
    if (!(prepared.rate > 0.0)) {
        ShowMessage(Format("The production rate at this site is zero: no %s.", std::string(result).c_str()));
        return false;
    }
    prepared.decayConstant = kLn2 / SampleHalfLife(sample);
    return true;
}

bool ListsUncertainties(const NuclideSample& sample)
{
    return sample.uncertainties || sample.constants != kOriginalConstants;
}

Provenance SampleProvenance(const NuclideSample& sample)
{
    Provenance provenance = HalfLifeProvenance({sample.be10HalfLife, sample.al26HalfLife});
    AddConstantSetProvenance(provenance, sample.constants);
    const NuclideKind nuclide = NuclideOfName(sample.nuclide);
    if (nuclide != kBe10)
        provenance.push_back({"nuclide", "", std::string(NuclideSymbol(nuclide)),
                              Format("Nuclide  :   %s", std::string(NuclideSymbol(nuclide)).c_str())});
    AddAmsStandardProvenance(provenance, nuclide, nuclide == kAl26 ? sample.al26Standard : sample.be10Standard);
    AddAtmosphereProvenance(provenance, sample.atmosphere, sample.pressure);
    return provenance;
}

std::string CheckSample(const NuclideSample& sample)
{
    return CheckAtmosphere(sample.atmosphere, sample.pressure);
}

} // namespace qex
