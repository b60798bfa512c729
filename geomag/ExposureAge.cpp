#include "geomag/ExposureAge.h"

#include "core/BuildUp.h"
#include "core/Constants.h"
#include "corrections/ThicknessCorrection.h"
#include "scaling/Nuclide.h"
#include "scaling/ScalingSchemes.h"

#include <algorithm>
#include <cmath>

namespace qex {

ResultPair ClosedFormExposureAge(double P, double dP, double N, double dN, double lambda)
{
    // The build-up inverted; the uncertainty propagates dN and dP to first order.
    const double age = BuildUpAge(P, lambda, N);
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
    localRate = SiteProduction(productionRate, scaling, thicknessFactor, shielding);
    localRateError = SiteProduction(productionRateError, scaling, thicknessFactor, shielding);
}

void ExposureAgeWithErosion(double halfLife, double concentration, double concentrationError, double attenuationLength,
                            double density, double erosionRate, double localRate, double localRateError, double& age,
                            double& ageError)
{
    // Loss by decay and by erosion carrying the sample towards the surface.
    const double lambda = LossConstant(kLn2 / halfLife, density, erosionRate, attenuationLength);
    const ResultPair result = ClosedFormExposureAge(localRate, localRateError, concentration, concentrationError, lambda);
    age = result.first;
    ageError = result.second;
}

} // namespace qex
