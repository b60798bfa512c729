#include "scaling/ScalingFactorBlock.h"

#include "core/Format.h"
#include "scaling/ScalingSchemes.h"

#include <cmath>

namespace qex {

const InputTable<ScalingSite>& ScalingInputTable()
{
    using In = ScalingSite;
    static const InputRow<In> rows[] = {
        {.name = "latitude", .controlId = 1000, .member = "m_dLatitude", .label = "Site latitude",
         .unit = "degrees", .field = &In::latitude, .range = InputRange{-90.0, 90.0},
         .help = "north positive; the schemes depend on its magnitude"},
        {.name = "altitude", .controlId = 1001, .member = "m_dAltitude", .label = "Site altitude above sea level",
         .unit = "m", .field = &In::altitude, .range = InputRange{0.0, 10000.0}},
        {.name = "muon", .controlId = 1002, .member = "m_dMuon", .label = "Muon contribution",
         .unit = "fraction", .boxUnit = "fraction 0–1", .field = &In::muonFraction, .range = InputRange{0.0, 0.3},
         .help = "share of sea-level production due to muons"},
    };
    static const InputTable<In> table(rows);
    return table;
}

std::vector<std::string> ScalingFactorLines(const ScalingSite& site)
{
    // The single-site dialog always uses the standard atmosphere.
    const double pressure = StandardAtmospherePressure(site.altitude);
    // The schemes are symmetric about the equator: a southern site has the
    // factors of its northern mirror, while its line shows it as typed.
    const double latitude = std::fabs(site.latitude);
    return {
        Format("Latitude:   %-5.6f", site.latitude),
        Format("Altitude:   %-5.6f", site.altitude),
        Format("Muon contribution:   %-5.6f", site.muonFraction),
        Format("Stone 2000:   %-5.6f", StoneScalingFactor(latitude, pressure, site.muonFraction)),
        Format("Lal 1991 Be:   %-5.6f", LalBeScalingFactor(latitude, site.altitude)),
        Format("Lal 1991 Al:   %-5.6f", LalAlScalingFactor(latitude, site.altitude)),
        Format("Dunai 2000:   %-5.6f", DunaiScalingFactor(latitude, site.altitude, site.muonFraction)),
    };
}

void AppendScalingFactorResults(const ScalingSite& site, CResultList& results)
{
    results.AppendBlock(ScalingFactorLines(site));
}

} // namespace qex
