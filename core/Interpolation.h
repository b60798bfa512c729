#pragma once
// Straight-line interpolation for data whose numbers may lie near the limits
// of a double (a file can hold 1e308): the calculators keep their own
// formulas, which are exact where they are finite, and fall back on this one
// when a difference or a product on the way overflows.

#include <cmath>

namespace qex {

// The value at x on the line through (x0, y0) and (x1, y1), computed from
// halves so that no step overflows when x lies between x0 and x1 (for x
// outside, the result itself may be too large and comes out infinite).
double InterpolateWithoutOverflow(double x0, double y0, double x1, double y1, double x);

// The year where the segment of a curve from (y0, v0) to (y1, v1) meets the
// value `cut`: y0 + (cut - v0) (y1 - y0) / (v1 - v0). The written formula is
// exact where it is finite; numbers near the limits of a double overflow it,
// and the fallback gives the same point without overflow. Every cut walk
// (the cut results, their plot, the simulation) crosses the cut here.
inline double CutCrossingYear(double y0, double v0, double y1, double v1, double cut)
{
    const double year = y0 + (cut - v0) * (y1 - y0) / (v1 - v0);
    return std::isfinite(year) ? year : InterpolateWithoutOverflow(v0, y0, v1, y1, cut);
}

} // namespace qex
