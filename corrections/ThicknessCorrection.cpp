#include "corrections/ThicknessCorrection.h"

#include <cmath>

namespace qex {

double MeanAttenuation(double x)
{
    // A product of tiny inputs can underflow to 0, where the quotient is 0/0.
    if (!(x > 0.0))
        return 1.0;
    // expm1 keeps the quotient accurate far below one attenuation length.
    return -std::expm1(-x) / x;
}

double ThicknessCorrectionFactor(double density, double attenuationLength, double thickness)
{
    if (!(thickness > 0.0))
        return 1.0;
    const double massThickness = thickness * density; // g/cm2
    // No mass in the way: the limit of the average as the mass thickness goes to 0.
    if (!(massThickness > 0.0))
        return 1.0;
    // A zero free path absorbs everything below the surface.
    if (!(attenuationLength > 0.0))
        return 0.0;
    // Mean of exp(-z/L) over 0..d: (1 - exp(-d/L)) * L/d.
    return MeanAttenuation(massThickness / attenuationLength);
}

const InputTable<ThicknessInputs>& ThicknessInputTable()
{
    using In = ThicknessInputs;
    static const InputRow<In> rows[] = {
        {.name = "thickness", .controlId = 1000, .member = "m_dThickness", .label = "Sample thickness", .unit = "cm",
         .field = &In::thickness, .range = InputRange{0.0, 1000.0}},
        {.name = "density", .controlId = 1001, .member = "m_dDensity", .label = "Rock density", .unit = "g/cm3",
         .field = &In::density, .range = InputRange{0.0, 10000.0}},
        {.name = "free-path", .controlId = 1002, .member = "m_dFreePath", .label = "Attenuation length",
         .unit = "g/cm2", .field = &In::freePath, .range = InputRange{0.0, 1000.0}},
    };
    static const InputTable<In> table(rows);
    return table;
}

const OutputTable<ThicknessResult>& ThicknessOutputTable()
{
    using R = ThicknessResult;
    static const OutputRow<R> rows[] = {PlainRow("Density", &R::density), PlainRow("FreePath", &R::freePath),
                                        PlainRow("Thickness", &R::thickness),
                                        PlainRow("Factor", &R::factor, "thickness_factor")};
    static const OutputTable<R> table{rows};
    return table;
}

ThicknessResult ComputeThickness(const ThicknessInputs& in)
{
    return {in.density, in.freePath, in.thickness, ThicknessCorrectionFactor(in.density, in.freePath, in.thickness)};
}

void AppendThicknessResult(const ThicknessInputs& inputs, CResultList& list, COutputBlocks* blocks)
{
    AppendResult(list, ThicknessOutputTable(), ComputeThickness(inputs), blocks);
}

} // namespace qex
