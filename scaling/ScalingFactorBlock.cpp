#include "scaling/ScalingFactorBlock.h"

#include "core/Format.h"
#include "scaling/ScalingSchemes.h"

namespace qex {

std::vector<std::string> ScalingFactorLines(const ScalingSite& site)
{
    // The single-site dialog always uses the standard atmosphere.
    const double pressure = StandardAtmospherePressure(site.altitude);
    return {
        Format("Latitude:   %-5.6f", site.latitude),
        Format("Altitude:   %-5.6f", site.altitude),
        Format("Muon contribution:   %-5.6f", site.muonFraction),
        Format("Stone 2000:   %-5.6f", StoneScalingFactor(site.latitude, pressure, site.muonFraction)),
        Format("Lal 1991 Be:   %-5.6f", LalBeScalingFactor(site.latitude, site.altitude)),
        Format("Lal 1991 Al:   %-5.6f", LalAlScalingFactor(site.latitude, site.altitude)),
        Format("Dunai 2000:   %-5.6f", DunaiScalingFactor(site.latitude, site.altitude, site.muonFraction)),
    };
}

void AppendScalingFactorResults(const ScalingSite& site, CResultList& results)
{
    results.AppendBlock(ScalingFactorLines(site));
}

} // namespace qex
