#pragma once
// Straight-line interpolation for data whose numbers may lie near the limits
// of a double (a file can hold 1e308): the calculators keep their own
// formulas, which are exact where they are finite, and fall back on this one
// when a difference or a product on the way overflows.

namespace qex {

// The value at x on the line through (x0, y0) and (x1, y1), computed from
// halves so that no step overflows when x lies between x0 and x1 (for x
// outside, the result itself may be too large and comes out infinite).
double InterpolateWithoutOverflow(double x0, double y0, double x1, double y1, double x);

} // namespace qex
