#include "burial/YorkFit.h"

#include "core/Format.h"

#include <algorithm>
#include <cmath>

namespace qex {

bool FitYorkLine(const std::vector<YorkPoint>& points, YorkLine& line, std::string& error)
{
    const std::size_t n = points.size();
    if (n < static_cast<std::size_t>(kYorkMinPoints)) {
        error = Format("a straight-line fit with errors in both coordinates needs at least %d samples, and %d were "
                       "given",
                       kYorkMinPoints, static_cast<int>(n));
        return false;
    }
    // York et al. (2004), table I, step 2: the weights of each coordinate.
    std::vector<double> wx(n), wy(n), alpha(n);
    double sumX = 0.0, sumY = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const YorkPoint& p = points[i];
        if (!(p.sigmaX > 0.0) || !(p.sigmaY > 0.0) || !std::isfinite(p.sigmaX) || !std::isfinite(p.sigmaY) ||
            !std::isfinite(p.x) || !std::isfinite(p.y)) {
            error = Format("sample %d: a fit weighting both errors needs finite values and errors above 0",
                           static_cast<int>(i + 1));
            return false;
        }
        if (!(std::fabs(p.correlation) < 1.0)) {
            error = Format("sample %d: the correlation of its errors must lie between -1 and 1",
                           static_cast<int>(i + 1));
            return false;
        }
        wx[i] = 1.0 / (p.sigmaX * p.sigmaX);
        wy[i] = 1.0 / (p.sigmaY * p.sigmaY);
        alpha[i] = std::sqrt(wx[i] * wy[i]);
        sumX += p.x;
        sumY += p.y;
    }
    // Step 1: the ordinary least-squares slope to start from.
    const double meanX = sumX / static_cast<double>(n);
    const double meanY = sumY / static_cast<double>(n);
    double sxx = 0.0, sxy = 0.0;
    for (const YorkPoint& p : points) {
        sxx += (p.x - meanX) * (p.x - meanX);
        sxy += (p.x - meanX) * (p.y - meanY);
    }
    if (!(sxx > 0.0)) {
        error = "the samples all have the same x: no line through them";
        return false;
    }
    double b = sxy / sxx;

    std::vector<double> W(n), beta(n);
    double xBar = 0.0, yBar = 0.0;
    // Steps 3-6, repeated until the slope no longer changes.
    auto weigh = [&](double slope) {
        double sumW = 0.0, sumWX = 0.0, sumWY = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            // Eq. 13c of York et al. (2004): W_i = wx wy / (wx + b^2 wy - 2 b r alpha).
            W[i] = wx[i] * wy[i] / (wx[i] + slope * slope * wy[i] - 2.0 * slope * points[i].correlation * alpha[i]);
            sumW += W[i];
            sumWX += W[i] * points[i].x;
            sumWY += W[i] * points[i].y;
        }
        xBar = sumWX / sumW;
        yBar = sumWY / sumW;
        double numerator = 0.0, denominator = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            const double U = points[i].x - xBar;
            const double V = points[i].y - yBar;
            // Eq. 13d: beta_i = W_i [U/wy + b V/wx - (b U + V) r / alpha].
            beta[i] = W[i] * (U / wy[i] + slope * V / wx[i] - (slope * U + V) * points[i].correlation / alpha[i]);
            numerator += W[i] * beta[i] * V;
            denominator += W[i] * beta[i] * U;
        }
        return numerator / denominator; // eq. 13e
    };
    int iteration = 0;
    bool converged = false;
    while (iteration < kYorkMaxIterations) {
        ++iteration;
        const double next = weigh(b);
        if (!std::isfinite(next))
            break;
        const bool settled = std::fabs(next - b) <= kYorkTolerance * std::max(std::fabs(next), 1.0);
        b = next;
        if (settled) {
            converged = true;
            break;
        }
    }
    if (!converged) {
        error = Format("the slope of the fit did not settle within %d iterations: no line", kYorkMaxIterations);
        return false;
    }
    // The weights, means and beta of the final slope (steps 7-9).
    weigh(b);
    const double a = yBar - b * xBar;
    double sumW = 0.0, sumWx = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        sumW += W[i];
        sumWx += W[i] * (xBar + beta[i]); // the adjusted x_i = X-bar + beta_i
    }
    const double xAdjustedMean = sumWx / sumW;
    double sumWu2 = 0.0, chiSquare = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        const double u = xBar + beta[i] - xAdjustedMean;
        sumWu2 += W[i] * u * u;
        const double residual = points[i].y - b * points[i].x - a;
        chiSquare += W[i] * residual * residual;
    }
    // Eqs. 13g-h: sigma_b^2 = 1 / sum W u^2, sigma_a^2 = 1/sum W + x-bar^2 sigma_b^2;
    // cov(a, b) = -x-bar sigma_b^2.
    const double varianceSlope = 1.0 / sumWu2;
    line.slope = b;
    line.intercept = a;
    line.slopeError = std::sqrt(varianceSlope);
    line.interceptError = std::sqrt(1.0 / sumW + xAdjustedMean * xAdjustedMean * varianceSlope);
    line.covariance = -xAdjustedMean * varianceSlope;
    line.chiSquare = chiSquare;
    line.mswd = chiSquare / static_cast<double>(n - 2);
    line.points = static_cast<int>(n);
    line.iterations = iteration;
    if (!std::isfinite(line.slopeError) || !std::isfinite(line.interceptError)) {
        error = "the fit's errors are not finite: no line";
        return false;
    }
    return true;
}

} // namespace qex
