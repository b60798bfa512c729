#pragma once
// The inclusive range a typed value must lie in; the dialogs and qexcli share
// one definition per input so that their checks cannot drift apart.

#include <utility>

namespace qex {

struct InputRange {
    double minimum;
    double maximum;

    std::pair<double, double> Bounds() const { return {minimum, maximum}; }
};

} // namespace qex
