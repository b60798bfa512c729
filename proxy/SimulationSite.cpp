#include "proxy/SimulationSite.h"

#include "proxy/CurveOrientation.h"

#include "core/Format.h"
#include "core/Message.h"
#include "geomag/ExposureAge.h"

#include <cmath>

namespace qex {

std::string ComputeSiteProduction(const SimulationInputs& in, SiteProductionRates& rates)
{
    const ConstantSet* set = FindConstantSet(in.constants);
    if (set == nullptr)
        return "constants: no set " + in.constants;
    const double pressure = SitePressure(in.atmosphere, in.altitude, in.pressure);
    if (!std::isfinite(pressure))
        return Format("The altitude %.15g m lies above the top of the standard atmosphere: no production rate.",
                      in.altitude);
    double error = 0.0;
    LocalProductionRate(kBe10, in.latitude, pressure, in.thickness, in.shield, in.density, set->be10Production.value,
                        set->be10Production.error, rates.be10, error);
    LocalProductionRate(kAl26, in.latitude, pressure, in.thickness, in.shield, in.density, set->al26Production.value,
                        set->al26Production.error, rates.al26, error);
    if (!(rates.be10 > 0.0) || !(rates.al26 > 0.0))
        return "The production rate at this site is zero: no simulation.";
    return std::string();
}

std::string CompleteSimulationSite(SimulationInputs& in, const GivenInputs& given)
{
    const std::string atmosphere = CheckAtmosphere(in.atmosphere, in.pressure);
    if (!atmosphere.empty())
        return atmosphere;
    if (std::isnan(in.latitude)) {
        const SimulationInputs defaults;
        if (in.altitude != defaults.altitude || in.thickness != defaults.thickness || in.shield != defaults.shield ||
            in.atmosphere != defaults.atmosphere)
            return "altitude, atmosphere, thickness and shield describe the site of latitude: give its latitude too";
        return std::string();
    }
    if (given("be10-production") || given("al26-production"))
        return "latitude computes both production rates from the site: leave out be10-production and "
               "al26-production";
    SiteProductionRates rates;
    in.siteError = ComputeSiteProduction(in, rates);
    in.be10Production = rates.be10;
    in.al26Production = rates.al26;
    return std::string();
}

bool SiteHasProduction(const SimulationInputs& inputs)
{
    if (inputs.siteError.empty())
        return true;
    ShowMessage(inputs.siteError);
    return false;
}

SimulationInputs NormalisedSimulationInputs(const SimulationInputs& inputs)
{
    SimulationInputs in = inputs;
    const Concentration be10 = NormaliseConcentration(kBe10, in.be10Standard, {in.be10, in.be10Error});
    const Concentration al26 = NormaliseConcentration(kAl26, in.al26Standard, {in.al26, in.al26Error});
    in.be10 = be10.value;
    in.be10Error = be10.error;
    in.al26 = al26.value;
    in.al26Error = al26.error;
    return in;
}

Provenance SimulationProvenance(const SimulationInputs& in)
{
    Provenance provenance = HalfLifeProvenance({in.be10HalfLife, in.al26HalfLife});
    for (ProvenanceItem& item : ExposureAboveCutProvenance(in.exposureAboveCut))
        provenance.push_back(std::move(item));
    AddConstantSetProvenance(provenance, in.constants);
    AddAmsStandardProvenance(provenance, kBe10, in.be10Standard);
    AddAmsStandardProvenance(provenance, kAl26, in.al26Standard);
    if (std::isnan(in.latitude))
        return provenance;
    AddAtmosphereProvenance(provenance, in.atmosphere, in.pressure);
    provenance.push_back({"be10_site_production", "atoms/g/yr", in.be10Production,
                          Format("Site production 10Be(atoms/g/yr)  :   %.6f", in.be10Production)});
    provenance.push_back({"al26_site_production", "atoms/g/yr", in.al26Production,
                          Format("Site production 26Al(atoms/g/yr)  :   %.6f", in.al26Production)});
    return provenance;
}

} // namespace qex
