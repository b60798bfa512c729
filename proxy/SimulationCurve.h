#pragma once
// The proxy curve as the burial-exposure simulation reads it: its own loader,
// which puts a point at year 0 in front of the file's points and neither
// merges close years nor interpolates (the cut-results curve does both).

#include "proxy/CurveOrientation.h"

#include <string>
#include <vector>

namespace qex {

struct SimulationCurve {
    // Point 0 is the present (year 0); points 1..n are the file's, in file order.
    std::vector<double> years;  // years before present
    std::vector<double> values; // proxy values, the file's negated when `negated`
    std::string name;           // the one-word name from the header
    double valueMax = 0.0;      // largest value read from the file
    double valueMin = 0.0;      // smallest value read from the file
    bool ascending = true;      // every year at least the one before it (year 0 included; the loader refuses others)
    bool negated = false;       // read with every value negated: high values count as exposure
    int lastLine = 0;           // the file line holding the last (oldest) year

    // Index of the last point, the end of the curve.
    int LastIndex() const { return static_cast<int>(years.size()) - 1; }
};

// Loads the file at `path` into `curve`. On failure returns false and sets
// `message` to the text to show the user ("Can not find Proxy data file!",
// "Proxy data file is not correct!", "Proxy data are too little!", the line
// that does not hold two numbers, or the line where the years stop ascending
// from the present); the caller shows it, with `detail` (the path and the
// system's reason) when the file cannot be opened.
// With `negated`, the curve is the file's with every value negated (the
// extremes and the present's value are then those of the negated values).
bool LoadSimulationCurve(const std::string& path, SimulationCurve& curve, std::string& message,
                         std::string* detail = nullptr, bool negated = false);

// The same from the bytes of a file.
bool LoadSimulationCurveText(std::string text, SimulationCurve& curve, std::string& message, bool negated = false);

// Empty when every year of the curve lies within `oldest` (yr); otherwise the
// message naming the line of the last year. Years beyond the age of the Earth
// are no record of its climate, and near 1e16 and beyond a double cannot tell
// apart the years that the walk's ten-year consistency check compares.
std::string YearsBeyondMessage(const SimulationCurve& curve, double oldest);

} // namespace qex
