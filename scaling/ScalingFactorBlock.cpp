#include "scaling/ScalingFactorBlock.h"

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

const OutputTable<ScalingResult>& ScalingOutputTable()
{
    using R = ScalingResult;
    static const OutputRow<R> rows[] = {
        {.label = "Latitude", .format = "%s:   %-5.6f", .field = &R::latitude},
        {.label = "Altitude", .format = "%s:   %-5.6f", .field = &R::altitude},
        {.label = "Muon contribution", .format = "%s:   %-5.6f", .field = &R::muonFraction},
        {.label = "Stone 2000", .format = "%s:   %-5.6f", .name = "stone_2000_factor", .field = &R::stone},
        {.label = "Lal 1991 Be", .format = "%s:   %-5.6f", .name = "lal_1991_be_factor", .field = &R::lalBe},
        {.label = "Lal 1991 Al", .format = "%s:   %-5.6f", .name = "lal_1991_al_factor", .field = &R::lalAl},
        {.label = "Dunai 2000", .format = "%s:   %-5.6f", .name = "dunai_2000_factor", .field = &R::dunai},
    };
    static const OutputTable<R> table{rows};
    return table;
}

ScalingResult ComputeScalingFactors(const ScalingSite& site)
{
    // The single-site dialog always uses the standard atmosphere.
    const double pressure = StandardAtmospherePressure(site.altitude);
    // The schemes are symmetric about the equator: a southern site has the
    // factors of its northern mirror, while its line shows it as typed.
    const double latitude = std::fabs(site.latitude);
    return {site.latitude,
            site.altitude,
            site.muonFraction,
            StoneScalingFactor(latitude, pressure, site.muonFraction),
            LalBeScalingFactor(latitude, site.altitude),
            LalAlScalingFactor(latitude, site.altitude),
            DunaiScalingFactor(latitude, site.altitude, site.muonFraction)};
}

void AppendScalingFactorResults(const ScalingSite& site, CResultList& results, COutputBlocks* blocks)
{
    AppendResult(results, ScalingOutputTable(), ComputeScalingFactors(site), blocks);
}

} // namespace qex
