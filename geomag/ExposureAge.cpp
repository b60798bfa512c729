#include "geomag/ExposureAge.h"

#include "core/Constants.h"
#include "corrections/ThicknessCorrection.h"
#include "scaling/Nuclide.h"
#include "scaling/ScalingSchemes.h"

#include <algorithm>
#include <cmath>

namespace qex {

ResultPair ClosedFormExposureAge(double P, double dP, double N, double dN, double lambda)
{
    // Lal (1991): N = P / lambda (1 - exp(-lambda T)) solved for T; the
    // uncertainty propagates dN and dP to first order.
    // + 0.0 turns the -0 of a zero concentration into 0.
    const double age = -(1.0 / lambda) * std::log(1.0 - lambda * N / P) + 0.0;
    const double a = dN / (P - lambda * N);
    const double b = dP * N / (P * P - P * lambda * N);
    return {age, std::sqrt(a * a + b * b)};
}

double EffectiveLatitude(double intensity, double geomagneticLatitude)
{
    const double argument = std::pow(std::max(intensity, 0.0), 0.25) * std::cos(geomagneticLatitude * kRadiansPerDegree);
    return std::acos(std::clamp(argument, -1.0, 1.0)) * kDegreesPerRadian;
}

void LocalProductionRate(std::int32_t nuclideKind, double latitude, double pressure, double thickness, double shielding,
                         double density, double productionRate, double productionRateError, double& localRate,
                         double& localRateError)
{
    const double attenuationLength = AttenuationLengthForLatitude(latitude);
    const double scaling = StoneScalingFactor(latitude, pressure, MuonFraction(nuclideKind));
    const double thicknessFactor = ThicknessCorrectionFactor(density, attenuationLength, thickness);
    localRate = productionRate * scaling * thicknessFactor * shielding;
    localRateError = productionRateError * scaling * thicknessFactor * shielding;
}

void ExposureAgeWithErosion(double halfLife, double concentration, double concentrationError, double attenuationLength,
                            double density, double erosionRate, double localRate, double localRateError, double& age,
                            double& ageError)
{
    // Loss by decay and by erosion carrying the sample towards the surface.
    // Without erosion the attenuation length plays no part, a zero one included.
    const double massLoss = density * erosionRate; // g/cm2/yr
    const double lambda = kLn2 / halfLife + (massLoss == 0.0 ? 0.0 : massLoss / attenuationLength);
    const ResultPair result = ClosedFormExposureAge(localRate, localRateError, concentration, concentrationError, lambda);
    age = result.first;
    ageError = result.second;
}

} // namespace qex
