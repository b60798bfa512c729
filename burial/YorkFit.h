#pragma once
// The straight line y = a + b x through points whose x and y both carry
// errors, possibly correlated: the best unbiased fit of York (1968), in the
// iterative form of York, Evensen, Lopez Martinez & De Basabe Delgado (2004,
// Am. J. Phys. 72, 367, section III and table I), which also gives the
// standard errors of a and b. The isochron of samples of one horizon is such
// a line through their 10Be and 26Al concentrations.

#include <string>
#include <vector>

namespace qex {

// One point with its 1-sigma errors and the correlation of those errors.
struct YorkPoint {
    double x = 0.0;
    double sigmaX = 0.0;
    double y = 0.0;
    double sigmaY = 0.0;
    double correlation = 0.0; // of the errors of x and y, -1 < r < 1
};

// The line, its parameters' 1-sigma errors and covariance, and how well the
// points scatter about it: chi^2 = sum W_i (y_i - b x_i - a)^2 and the
// MSWD, chi^2 / (n - 2) (York 1968, eq. 17; Wendt & Carl 1991).
struct YorkLine {
    double slope = 0.0;
    double intercept = 0.0;
    double slopeError = 0.0;
    double interceptError = 0.0;
    double covariance = 0.0; // of intercept and slope
    double chiSquare = 0.0;
    double mswd = 0.0;
    int points = 0;
    int iterations = 0;
};

// The fit stops when an iteration changes the slope by less than this part of
// it (or by less than this at all, for a slope near 0).
inline constexpr double kYorkTolerance = 1e-12;
// An iteration cap: the slope converges in a few tens of steps on any data
// the method suits; failing that the fit reports it.
inline constexpr int kYorkMaxIterations = 500;
// A fit needs three points: two always lie on their line and leave no degree
// of freedom for the MSWD.
inline constexpr int kYorkMinPoints = 3;

// Fits the points. False, with why in `error`, for fewer than three points,
// an error that is not positive and finite, a correlation outside (-1, 1),
// points that all share one x, or a slope that did not converge.
bool FitYorkLine(const std::vector<YorkPoint>& points, YorkLine& line, std::string& error);

} // namespace qex
