#include "corrections/ShieldingResult.h"

#include "corrections/TopographicShielding.h"

namespace qex {

const InputTable<HorizonPoint>& HorizonPointInputTable()
{
    using In = HorizonPoint;
    static const InputRow<In> rows[] = {
        {.name = "azimuth", .controlId = 1015, .member = "m_dAzimuth", .label = "Azimuth of a horizon point",
         .unit = "degrees", .field = &In::azimuth, .range = InputRange{0.0, 360.0}, .option = false,
         .help = "clockwise from north"},
        {.name = "angle", .controlId = 1016, .member = "m_dAngle", .label = "Elevation of the skyline there",
         .unit = "degrees", .field = &In::angle, .range = InputRange{0.0, 90.0}, .option = false},
    };
    static const InputTable<In> table(rows);
    return table;
}

const InputTable<ShieldingInputs>& ShieldingInputTable()
{
    using In = ShieldingInputs;
    static const InputRow<In> rows[] = {
        {.name = "dip", .controlId = 1019, .member = "m_dDip", .label = "Dip of the sampled surface",
         .unit = "degrees", .field = &In::dip, .range = InputRange{0.0, 90.0}},
        {.name = "strike", .controlId = 1020, .member = "m_dStrike", .label = "Strike of the sampled surface",
         .unit = "degrees", .field = &In::strike, .range = InputRange{0.0, 360.0}},
    };
    static const InputTable<In> table(rows);
    return table;
}

double ShieldingFactor(const ShieldingInputs& inputs)
{
    std::vector<double> azimuths;
    std::vector<double> angles;
    for (const HorizonPoint& point : inputs.points) {
        azimuths.push_back(point.azimuth);
        angles.push_back(point.angle);
    }
    HorizonBins horizon{};
    return TopographicShieldingFactor(azimuths, angles, static_cast<int>(inputs.points.size()), inputs.dip,
                                      inputs.strike, horizon);
}

const OutputTable<ShieldingResult>& ShieldingOutputTable()
{
    using R = ShieldingResult;
    static const OutputRow<R> rows[] = {
        {.label = "Shielding Factor", .format = "%s:  %5.6f", .name = "shielding_factor", .field = &R::factor},
    };
    static const OutputTable<R> table{rows};
    return table;
}

void AppendShieldingResult(const ShieldingInputs& inputs, CResultList& list, COutputBlocks* blocks)
{
    AppendResult(list, ShieldingOutputTable(), ShieldingResult{ShieldingFactor(inputs)}, blocks);
}

} // namespace qex
