#include "corrections/SlopeThicknessCorrection.h"

#include "core/Format.h"
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

void AppendSlopeThicknessResult(const SlopeThicknessInputs& inputs, CResultList& list)
{
    const double factor =
        SlopeThicknessCorrectionFactor(inputs.density, inputs.freePath, inputs.thickness, inputs.slope);
    list.AppendBlock({
        Format("Density:   %-5.6f", inputs.density),
        Format("FreePath:   %-5.6f", inputs.freePath),
        Format("Thickness:   %-5.6f", inputs.thickness),
        Format("Slope:   %-5.6f", inputs.slope),
        Format("Factor:   %-5.6f", factor),
    });
}

} // namespace qex
