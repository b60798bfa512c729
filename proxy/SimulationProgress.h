#pragma once
// Progress of a long simulation and the way to stop it: the calculation asks
// the callback after each cut value it walks.

#include <functional>

namespace qex {

// (cut values walked so far, cut values the calculation walks at most).
// Returning false stops the calculation: it then appends nothing and writes
// no report.
using SimulationProgress = std::function<bool(int done, int total)>;

} // namespace qex
