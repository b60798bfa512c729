#include "scaling/Atmosphere.h"

#include "core/Format.h"
#include "scaling/ScalingSchemes.h"

namespace qex {

namespace {
constexpr std::string_view kAtmospheres[] = {kStandardAtmosphere, kAntarcticAtmosphere, kMeasuredPressure};
} // namespace

std::span<const std::string_view> AtmosphereNames()
{
    return kAtmospheres;
}

double SitePressure(std::string_view atmosphere, double altitude, double pressure)
{
    if (atmosphere == kAntarcticAtmosphere)
        return AntarcticPressure(altitude);
    if (atmosphere == kMeasuredPressure)
        return pressure;
    return StandardAtmospherePressure(altitude);
}

std::string CheckAtmosphere(std::string_view atmosphere, double pressure)
{
    if (atmosphere == kMeasuredPressure && std::isnan(pressure))
        return "atmosphere pressure needs the site's pressure (hPa) in pressure";
    if (atmosphere != kMeasuredPressure && !std::isnan(pressure))
        return Format("pressure is taken with atmosphere pressure only, not with atmosphere %s",
                      std::string(atmosphere).c_str());
    return std::string();
}

void AddAtmosphereProvenance(Provenance& provenance, std::string_view atmosphere, double pressure)
{
    if (atmosphere == kStandardAtmosphere)
        return;
    const std::string name(atmosphere);
    provenance.push_back({"atmosphere", "", name, Format("Atmosphere  :   %s", name.c_str())});
    if (atmosphere == kMeasuredPressure)
        provenance.push_back({"pressure", "hPa", pressure, Format("Air pressure(hPa)  :   %.15g", pressure)});
}

} // namespace qex
