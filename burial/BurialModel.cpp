#include "burial/BurialModel.h"

#include <cmath>

namespace qex {

double DecayConstant(double halfLifeYears)
{
    return kLn2 / halfLifeYears;
}

NuclideConcentrations SteadyErosionThenBurial(const BurialSource& s, double erosion, double burialYears)
{
    const double lambda10 = DecayConstant(s.halfLives.be10);
    const double lambda26 = DecayConstant(s.halfLives.al26);
    return {std::exp(-lambda10 * burialYears) * s.be10Production /
                LossConstant(lambda10, s.density, erosion, s.freePath),
            std::exp(-lambda26 * burialYears) * s.al26Production /
                LossConstant(lambda26, s.density, erosion, s.freePath)};
}

NuclideConcentrations ExposureThenBurial(const BurialSource& s, double exposureYears, double burialYears)
{
    const double lambda10 = DecayConstant(s.halfLives.be10);
    const double lambda26 = DecayConstant(s.halfLives.al26);
    // -expm1(-x) is 1 - e^(-x) without losing digits for short exposures.
    return {std::exp(-lambda10 * burialYears) * s.be10Production / lambda10 * -std::expm1(-lambda10 * exposureYears),
            std::exp(-lambda26 * burialYears) * s.al26Production / lambda26 * -std::expm1(-lambda26 * exposureYears)};
}

} // namespace qex
