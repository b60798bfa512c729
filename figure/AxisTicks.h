#pragma once
// Where an axis has its ticks and what they read. A linear axis has round
// steps (1, 2 or 5 times a power of ten) with as many decimals as the step
// needs, and large or small values as m×10ⁿ. A logarithmic axis labels its
// powers of ten as 10ⁿ with the digits between as minor ticks; over less
// than two decades it labels 1, 2 and 5 (then every digit, then round
// steps) times 10ⁿ, so that a narrow range still reads at least two labels.

#include "figure/Figure.h"

#include <string>
#include <vector>

namespace qex::figure {

struct Tick {
    double value = 0.0;
    std::string label; // empty for a minor tick
};

// The axis' ticks inside its range, in increasing order.
std::vector<Tick> AxisTicks(const Axis& axis);

// The integer in Unicode superscript digits, with a superscript minus: "⁻¹²".
std::string Superscript(int value);

// A number as a tick or a note writes it: `decimals` after the point, a true
// minus sign (U+2212), and "−0" written as "0".
std::string TickNumber(double value, int decimals);

} // namespace qex::figure
