#include "corrections/SlopeThicknessCorrection.h"

#include "corrections/ThicknessCorrection.h"

#include <cmath>

namespace qex {

namespace {
// Below this thickness (cm) the sample counts as a surface.
constexpr double kNegligibleThicknessCm = 1e-07;
// Slope shielding S = 1 - 3.6e-06 * slope^2.64 (slope in degrees).
constexpr double kSlopeShieldingCoefficient = 3.6e-06;
constexpr double kSlopeShieldingExponent = 2.64;
// The slope lengthens the path by 1 + slope^2 / 5000 (slope in degrees).
constexpr double kSlopePathDegreesSquared = 5000.0;
} // namespace

double SlopeThicknessCorrectionFactor(double density, double attenuationLength, double thickness, double slope)
{
    const double slopeShielding = 1.0 - kSlopeShieldingCoefficient * std::pow(slope, kSlopeShieldingExponent);
    if (!(thickness >= kNegligibleThicknessCm))
        return slopeShielding;
    // No mass in the way: the thickness term tends to 1.
    if (!(density > 0.0))
        return slopeShielding;
    // A zero free path absorbs everything below the surface.
    if (!(attenuationLength > 0.0))
        return 0.0;
    // Mass thickness in attenuation lengths, lengthened by the slope.
    const double x = thickness * (density / attenuationLength) * (1.0 + slope * slope / kSlopePathDegreesSquared);
    // S * (1 - exp(-x)) / x.
    return slopeShielding * MeanAttenuation(x);
}

const InputTable<SlopeThicknessInputs>& SlopeThicknessInputTable()
{
    using In = SlopeThicknessInputs;
    static const InputRow<In> rows[] = {
        {.name = "thickness", .controlId = 1000, .member = "m_dThickness", .label = "Sample thickness", .unit = "cm",
         .field = &In::thickness, .range = InputRange{0.0, 1000.0}},
        {.name = "density", .controlId = 1001, .member = "m_dDensity", .label = "Rock density", .unit = "g/cm3",
         .field = &In::density, .range = InputRange{0.0, 1000.0}},
        {.name = "free-path", .controlId = 1002, .member = "m_dFreePath", .label = "Attenuation length",
         .unit = "g/cm2", .field = &In::freePath, .range = InputRange{0.0, 1000.0}},
        {.name = "slope", .controlId = 1003, .member = "m_dSlope", .label = "Slope of the sampled surface",
         .unit = "degrees", .field = &In::slope, .range = InputRange{0.0, 90.0}},
        {.name = "strike", .controlId = 1004, .member = "m_dStrike", .label = "Strike of the sampled surface",
         .unit = "degrees", .field = &In::strike, .range = InputRange{0.0, 360.0},
         .help = "recorded; the factor does not use it"},
    };
    static const InputTable<In> table(rows);
    return table;
}

const OutputTable<SlopeThicknessResult>& SlopeThicknessOutputTable()
{
    using R = SlopeThicknessResult;
    static const OutputRow<R> rows[] = {PlainRow("Density", &R::density), PlainRow("FreePath", &R::freePath),
                                        PlainRow("Thickness", &R::thickness), PlainRow("Slope", &R::slope),
                                        PlainRow("Factor", &R::factor, "slope_thickness_factor")};
    static const OutputTable<R> table{rows};
    return table;
}

SlopeThicknessResult ComputeSlopeThickness(const SlopeThicknessInputs& in)
{
    return {in.density, in.freePath, in.thickness, in.slope,
            SlopeThicknessCorrectionFactor(in.density, in.freePath, in.thickness, in.slope)};
}

void AppendSlopeThicknessResult(const SlopeThicknessInputs& inputs, CResultList& list, COutputBlocks* blocks)
{
    AppendResult(list, SlopeThicknessOutputTable(), ComputeSlopeThickness(inputs), blocks);
}

} // namespace qex
