#include "proxy/SimulationParameters.h"

#include "core/BuildUp.h"
#include "core/Constants.h"
#include "core/Format.h"

#include <algorithm>
#include <cmath>

namespace qex {

namespace {
bool PositiveFinite(double v)
{
    return std::isfinite(v) && v > 0.0;
}
bool NonNegativeFinite(double v)
{
    return std::isfinite(v) && v >= 0.0;
}
// The ratio differences, 100 |R - Rm| / Rm with R at most Rp, stay numbers:
// a measured ratio some 1e-306 times the production ratio would make them
// infinite.
bool RatioDifferencesFinite(const SimulationParameters& p)
{
    return std::isfinite(100.0 * p.productionRatio / p.measuredRatio);
}
} // namespace

SimulationParameters DeriveSimulationParameters(double be10Concentration, double be10Production,
                                                double al26Concentration, double al26Production, double density,
                                                double freePath, double aerialErosion, double glacialErosion,
                                                double be10HalfLife, double al26HalfLife)
{
    SimulationParameters p;
    p.be10Concentration = be10Concentration;
    p.be10Production = be10Production;
    p.al26Concentration = al26Concentration;
    p.al26Production = al26Production;
    p.density = density;
    p.freePath = freePath;
    p.aerialErosion = aerialErosion;
    p.glacialErosion = glacialErosion;

    p.lambda10 = kLn2 / be10HalfLife;
    p.lambda26 = kLn2 / al26HalfLife;
    // Decay plus loss by erosion; the same constant serves exposure and
    // burial intervals.
    p.mu10 = LossConstant(p.lambda10, density, aerialErosion, freePath);
    p.mu26 = LossConstant(p.lambda26, density, aerialErosion, freePath);
    p.saturation10 = be10Production / p.mu10;
    p.saturation26 = al26Production / p.mu26;
    p.measuredRatio = al26Concentration / be10Concentration;
    p.productionRatio = al26Production / be10Production;
    // Steady-erosion end member (Lal 1991): N = P / (lambda + rho eps / Lambda)
    // solved for eps.
    p.maxErosion10 = (freePath / density) * (be10Production / be10Concentration - p.lambda10);
    p.maxErosion26 = (freePath / density) * (al26Production / al26Concentration - p.lambda26);
    // Shortest exposure that builds the measured 10Be. An erosion rate the
    // measurements cannot allow is ignored.
    if (aerialErosion > std::min(p.maxErosion10, p.maxErosion26))
        p.minimumExposure = BuildUpAge(be10Production, p.lambda10, be10Concentration);
    else
        p.minimumExposure = BuildUpAge(be10Production, p.mu10, be10Concentration);
    return p;
}

bool ParametersAreUsable(const SimulationParameters& p)
{
    return PositiveFinite(p.be10Concentration) && PositiveFinite(p.be10Production) &&
           PositiveFinite(p.al26Concentration) && PositiveFinite(p.al26Production) && NonNegativeFinite(p.density) &&
           PositiveFinite(p.freePath) && NonNegativeFinite(p.aerialErosion) && NonNegativeFinite(p.glacialErosion) &&
           std::isfinite(p.minimumExposure) && RatioDifferencesFinite(p);
}

std::string UnusableParametersMessage(const SimulationParameters& p)
{
    if (ParametersAreUsable(p))
        return std::string();
    if (!PositiveFinite(p.be10Concentration) || !PositiveFinite(p.al26Concentration))
        return "The measured 10Be and 26Al concentrations must be above zero: no simulation.";
    if (!PositiveFinite(p.be10Production) || !PositiveFinite(p.al26Production))
        return "The 10Be and 26Al production rates must be above zero: no simulation.";
    if (!std::isfinite(p.minimumExposure))
        return "The 10Be concentration is at or above what production can sustain: no simulation.";
    if (!RatioDifferencesFinite(p))
        return "The measured 26Al/10Be ratio is too small to compare simulated ratios with: no simulation.";
    return "The density, free path or erosion rates cannot give a simulation.";
}

std::string RatioAboveProductionMessage(const SimulationParameters& p)
{
    if (!(p.measuredRatio > p.productionRatio))
        return std::string();
    // Two decimals, more while the two would read alike.
    constexpr int kMostDecimals = 15;
    int decimals = 2;
    while (decimals < kMostDecimals &&
           Format("%.*f", decimals, p.measuredRatio) == Format("%.*f", decimals, p.productionRatio))
        ++decimals;
    return Format("The measured 26Al/10Be ratio %.*f is above the production ratio %.*f: no burial history can "
                  "produce it.",
                  decimals, p.measuredRatio, decimals, p.productionRatio);
}

} // namespace qex
