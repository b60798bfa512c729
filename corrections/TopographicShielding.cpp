#include "corrections/TopographicShielding.h"

#include "core/Constants.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace qex {

namespace {

constexpr int kBinCount = 360;              // one-degree azimuth bins
constexpr double kFullTurnDegrees = 360.0;
constexpr double kZenithDegrees = 90.0;
// The flux through a bin falls off as sin(elevation)^(m + 1) towards the
// horizon, m = 2.3 (Dunne et al. 1999).
constexpr double kAngularExponent = 3.3;

// Clips into [low, high]; a value that is not a number becomes `low`.
double Clip(double value, double low, double high)
{
    if (!(value >= low))
        return low;
    if (!(value <= high))
        return high;
    return value;
}

// Straight line from (a, b) to (a2, b2), at azimuth k. The bin of a
// fractional first azimuth lies up to one degree before it; the fraction is
// held within the segment so the line never extrapolates out of its ends.
double Interpolate(double a, double b, double a2, double b2, double k)
{
    const double fraction = Clip((k - a) / (a2 - a), 0.0, 1.0);
    return b + (b2 - b) * fraction;
}

} // namespace

double TopographicShieldingFactor(const std::vector<double>& azimuths, const std::vector<double>& angles, int count,
                                  double dip, double strike, HorizonBins& horizon)
{
    // The horizon of the sampled surface itself: it hides the sky up to the dip
    // in the direction strike - 90, less towards the sides.
    std::array<double, kBinCount> slopeHorizon{};
    if (dip > 0.0) {
        const double tanDip = std::tan(dip * kRadiansPerDegree);
        for (int k = 0; k < kBinCount; ++k) {
            const double a = k - (strike - 90.0);
            const double angle = std::atan(tanDip * std::cos(a * kRadiansPerDegree)) * kDegreesPerRadian;
            slopeHorizon[static_cast<std::size_t>(k)] = angle < 0.0 ? 0.0 : angle;
        }
    }

    // The skyline, interpolated linearly in azimuth between the points taken
    // in ascending order, and across north between the last and the first.
    std::array<double, kBinCount> skyline{};
    if (count > 0) {
        std::vector<std::pair<double, double>> points;
        points.reserve(static_cast<std::size_t>(count));
        for (int j = 0; j < count; ++j) {
            const auto index = static_cast<std::size_t>(j);
            points.emplace_back(Clip(azimuths.at(index), 0.0, kFullTurnDegrees),
                                Clip(angles.at(index), 0.0, kZenithDegrees));
        }
        std::stable_sort(points.begin(), points.end(),
                         [](const auto& p, const auto& q) { return p.first < q.first; });
        const auto [firstAz, firstAngle] = points.front();
        const auto [lastAz, lastAngle] = points.back();

        // The value at 360 of the line from the last point to the first moved on
        // by a full turn. With points at 0 and at 360 it is never used.
        const double span = firstAz + kFullTurnDegrees - lastAz;
        const double wrap = span > 0.0 ? lastAngle + (firstAngle - lastAngle) * (kFullTurnDegrees - lastAz) / span
                                       : lastAngle;

        double a = 0.0;
        double b = wrap;
        for (const auto& [az, angle] : points) {
            for (int k = static_cast<int>(a); k < static_cast<int>(az); ++k)
                skyline.at(static_cast<std::size_t>(k)) = Interpolate(a, b, az, angle, k);
            a = az;
            b = angle;
        }
        for (int k = static_cast<int>(lastAz); k < kBinCount; ++k)
            skyline.at(static_cast<std::size_t>(k)) = Interpolate(lastAz, lastAngle, kFullTurnDegrees, wrap, k);
    }

    // Each bin is shielded by the higher of skyline and slope; the factor is
    // 1 - (1/360) sum of sin(theta)^3.3 over the bins (Dunne et al. 1999).
    double sum = 0.0;
    for (std::size_t k = 0; k < horizon.size(); ++k) {
        const double theta = skyline[k] < slopeHorizon[k] ? slopeHorizon[k] : skyline[k];
        horizon[k] = theta;
        sum += std::pow(std::sin(theta * kRadiansPerDegree), kAngularExponent);
    }
    return 1.0 - sum / kBinCount;
}

} // namespace qex
