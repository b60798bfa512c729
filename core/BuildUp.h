#pragma once
// The build-up of a cosmogenic nuclide at a steadily eroding surface, once
// for every calculator (Lal 1991, eqs. 3 and 6; Balco et al. 2008, eq. 6
// without muons): a nuclide produced at P atoms/g/yr and lost at mu per year
// by decay and erosion grows from none to N(t) = P / mu (1 - e^(-mu t)),
// approaching its saturation P / mu.

#include <cmath>

namespace qex {

// The loss constant (1/yr): decay plus erosion carrying the sample up through
// the attenuation length, mu = lambda + rho eps / Lambda (Lal 1991, eq. 6).
// lambda the decay constant (1/yr), rho the density (g/cm3), eps the erosion
// rate (cm/yr), Lambda the attenuation length (g/cm2). Without erosion the
// attenuation length plays no part, a zero one included.
inline double LossConstant(double lambda, double density, double erosion, double attenuationLength)
{
    const double massLoss = density * erosion; // g/cm2/yr
    return lambda + (massLoss == 0.0 ? 0.0 : massLoss / attenuationLength);
}

// What t years of production give, from none (atoms/g): N = S (1 - e^(-mu t)),
// with the saturation S = P / mu (atoms/g) given, as the walks keep it.
inline double BuildUp(double saturation, double mu, double t)
{
    return saturation * (1.0 - std::exp(-mu * t));
}

// The exposure (yr) that builds N atoms/g at production P and loss mu, the
// build-up inverted: t = -ln(1 - N mu / P) / mu (Lal 1991). NaN (or
// infinity) for N at or above saturation. A zero N gives +0.
inline double BuildUpAge(double production, double mu, double concentration)
{
    return -std::log(1.0 - mu * concentration / production) / mu + 0.0;
}

} // namespace qex
