#include "core/Interpolation.h"

#include <cmath>

namespace qex {

double InterpolateWithoutOverflow(double x0, double y0, double x1, double y1, double x)
{
    // Half of each number: the differences of halves stay within range.
    const double fraction = (x * 0.5 - x0 * 0.5) / (x1 * 0.5 - x0 * 0.5);
    // std::lerp blends ends of opposite sign without forming their difference.
    return std::lerp(y0, y1, fraction);
}

} // namespace qex
