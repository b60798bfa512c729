#include "corrections/ThicknessCorrection.h"

#include "core/Format.h"

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

void AppendThicknessResult(const ThicknessInputs& inputs, CResultList& list)
{
    const double factor = ThicknessCorrectionFactor(inputs.density, inputs.freePath, inputs.thickness);
    list.AppendBlock({
        Format("Density:   %-5.6f", inputs.density),
        Format("FreePath:   %-5.6f", inputs.freePath),
        Format("Thickness:   %-5.6f", inputs.thickness),
        Format("Factor:   %-5.6f", factor),
    });
}

} // namespace qex
