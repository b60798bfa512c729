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
    static const OutputRow<R> rows[] = {PlainRow("Latitude", &R::latitude), PlainRow("Altitude", &R::altitude),
                                        PlainRow("Muon contribution", &R::muonFraction),
                                        PlainRow("Stone 2000", &R::stone, "stone_2000_factor"),
                                        PlainRow("Lal 1991 Be", &R::lalBe, "lal_1991_be_factor"),
                                        PlainRow("Lal 1991 Al", &R::lalAl, "lal_1991_al_factor"),
                                        PlainRow("Dunai 2000", &R::dunai, "dunai_2000_factor")};
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
