#include "burial/BurialAge.h"

#include <boost/math/tools/toms748_solve.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace qex {

namespace {

constexpr int kBracketSteps = 100;
constexpr std::uintmax_t kMaxIterations = 200;
constexpr double kRelativeTolerance = 1e-12;
constexpr double kAbsoluteToleranceYears = 1e-6;
// The step of the differences, relative to each concentration.
constexpr double kRelativeStep = 1e-4;

double PostBurialBuildUp(double production, double lambda, double t)
{
    // -expm1(-x) is 1 - e^(-x) without losing digits for short burials.
    return production == 0.0 ? 0.0 : production / lambda * -std::expm1(-lambda * t);
}

// The 10Be the source must have held for the sample to hold `be10` after t
// years of burial: N_s = N e^(lambda t) - P_pb (e^(lambda t) - 1) / lambda.
double SourceBe10(double be10, double t, double lambda, double postBurial)
{
    return be10 * std::exp(lambda * t) - (postBurial == 0.0 ? 0.0 : postBurial / lambda * std::expm1(lambda * t));
}

// The source's erosion (cm/yr) or exposure (yr) that gives it `sourceBe10`:
// eps = (P / N - lambda) Lambda / rho (Lal 1991 eq. 6 at steady state), or
// the build-up inverted; infinite erosion for no 10Be, infinite exposure at
// saturation.
double SourceParameterOf(const BurialSource& s, BurialSourceKind kind, double sourceBe10)
{
    const double lambda = DecayConstant(s.halfLives.be10);
    if (kind == BurialSourceKind::Exposure)
        return sourceBe10 <= 0.0 ? 0.0 : BuildUpAge(s.be10Production, lambda, sourceBe10);
    if (sourceBe10 <= 0.0)
        return std::numeric_limits<double>::infinity();
    return std::max(s.be10Production / sourceBe10 - lambda, 0.0) * s.freePath / s.density;
}

// Where the search runs: the times at which the source's 10Be lies in
// (0, P / lambda]. The source's 10Be is e^(lambda t) (N - P_pb / lambda) +
// P_pb / lambda, monotonic in t.
struct TimeRange {
    double first = 0.0, last = 0.0;
    bool any = false;
};

TimeRange SearchRange(double be10, double saturation, double lambda, double postBurial)
{
    const double buried = postBurial / lambda; // what post-burial production saturates at
    const double a = be10 - buried;
    TimeRange range;
    if (a > 0.0) {
        // Rising: from the measured 10Be up to saturation.
        if (be10 > saturation)
            return range;
        range.last = std::log((saturation - buried) / a) / lambda;
    } else if (a < 0.0) {
        // Falling: from saturation (when the sample holds more) down to none.
        range.first = be10 > saturation ? std::log((buried - saturation) / -a) / lambda : 0.0;
        range.last = std::log(buried / -a) / lambda;
    } else {
        if (be10 > saturation)
            return range;
        range.last = kMaxBurialYears;
    }
    range.last = std::min(range.last, kMaxBurialYears);
    range.any = range.first <= range.last;
    return range;
}

} // namespace

NuclideConcentrations BuriedConcentrations(const BurialSource& source, BurialSourceKind kind,
                                           double sourceParameter, double burialYears,
                                           const PostBurialProduction& postBurial)
{
    NuclideConcentrations n = kind == BurialSourceKind::Exposure
                                  ? ExposureThenBurial(source, sourceParameter, burialYears)
                                  : SteadyErosionThenBurial(source, sourceParameter, burialYears);
    n.be10 += PostBurialBuildUp(postBurial.be10, DecayConstant(source.halfLives.be10), burialYears);
    n.al26 += PostBurialBuildUp(postBurial.al26, DecayConstant(source.halfLives.al26), burialYears);
    return n;
}

BurialSolution SolveBurial(const BurialSource& s, BurialSourceKind kind, const NuclideConcentrations& measured,
                           const PostBurialProduction& pb)
{
    BurialSolution solution;
    const auto positive = [](double v) { return std::isfinite(v) && v > 0.0; };
    if (!positive(measured.be10) || !positive(measured.al26) || !positive(s.be10Production) ||
        !positive(s.al26Production) || !positive(s.halfLives.be10) || !positive(s.halfLives.al26) ||
        !(pb.be10 >= 0.0) || !(pb.al26 >= 0.0) || !std::isfinite(pb.be10) || !std::isfinite(pb.al26) ||
        (kind == BurialSourceKind::SteadyErosion && (!positive(s.density) || !positive(s.freePath))))
        return solution;
    const double lambda10 = DecayConstant(s.halfLives.be10);
    solution.measuredRatio = measured.al26 / measured.be10;
    solution.productionRatio = s.al26Production / s.be10Production;

    // The model's 26Al at a trial t, the source's 10Be fixed by the measured 10Be.
    const auto al26At = [&](double t) {
        const double parameter = SourceParameterOf(s, kind, SourceBe10(measured.be10, t, lambda10, pb.be10));
        return BuriedConcentrations(s, kind, parameter, t, pb).al26;
    };
    const auto misfit = [&](double t) { return al26At(t) / measured.al26 - 1.0; };

    // Production, at the source or after burial, never makes a ratio above its own.
    const double highestRatio =
        std::max(solution.productionRatio, pb.be10 > 0.0 ? pb.al26 / pb.be10 : 0.0);
    if (solution.measuredRatio > highestRatio) {
        solution.outcome = BurialOutcome::AboveProductionRatio;
        return solution;
    }
    const TimeRange range = SearchRange(measured.be10, s.be10Production / lambda10, lambda10, pb.be10);
    if (!range.any) {
        solution.outcome = BurialOutcome::AboveSaturation;
        return solution;
    }
    if (range.first == 0.0)
        solution.surfaceRatio = al26At(0.0) / measured.be10;

    double lo = range.first;
    double fLo = misfit(lo);
    if (!(fLo > 0.0)) {
        // The measured 26Al is at or above what the source holds with no burial at all.
        solution.outcome = range.first == 0.0 ? BurialOutcome::NoBurial : BurialOutcome::BelowSaturatedBurial;
        return solution;
    }
    double hi = lo, fHi = fLo;
    for (int k = 1; k <= kBracketSteps && fHi > 0.0; ++k) {
        lo = hi;
        fLo = fHi;
        hi = range.first + (range.last - range.first) * k / kBracketSteps;
        fHi = misfit(hi);
    }
    if (fHi > 0.0 || std::isnan(fHi)) {
        solution.outcome = BurialOutcome::BelowSaturatedBurial;
        return solution;
    }
    double t = hi;
    if (fHi < 0.0) {
        const auto narrow = [](double a, double b) {
            return std::fabs(b - a) <= kRelativeTolerance * std::max(std::fabs(a), std::fabs(b)) + kAbsoluteToleranceYears;
        };
        std::uintmax_t iterations = kMaxIterations;
        const auto [a, b] = boost::math::tools::toms748_solve(misfit, lo, hi, fLo, fHi, narrow, iterations);
        if (!narrow(a, b)) {
            solution.outcome = BurialOutcome::NoConvergence;
            return solution;
        }
        t = 0.5 * (a + b);
    }
    solution.burialYears = t;
    const double parameter = SourceParameterOf(s, kind, SourceBe10(measured.be10, t, lambda10, pb.be10));
    (kind == BurialSourceKind::Exposure ? solution.exposureYears : solution.erosion) = parameter;
    solution.outcome = std::isfinite(parameter) ? BurialOutcome::Solved : BurialOutcome::BelowSaturatedBurial;
    return solution;
}

BurialUncertainty PropagateBurialUncertainty(const BurialSource& s, BurialSourceKind kind,
                                             const NuclideConcentrations& measured,
                                             const NuclideConcentrations& errors, const PostBurialProduction& pb)
{
    const auto parameterOf = [kind](const BurialSolution& r) {
        return kind == BurialSourceKind::Exposure ? r.exposureYears : r.erosion;
    };
    // d(t, eps)/dN of one concentration: central where both sides solve, one-sided beside a boundary.
    struct Slope {
        double t = 0.0, parameter = 0.0;
        bool ok = false;
    };
    const BurialSolution centre = SolveBurial(s, kind, measured, pb);
    const auto slope = [&](bool be10) {
        Slope d;
        const double value = be10 ? measured.be10 : measured.al26;
        const double h = kRelativeStep * value;
        NuclideConcentrations up = measured, down = measured;
        (be10 ? up.be10 : up.al26) = value + h;
        (be10 ? down.be10 : down.al26) = value - h;
        const BurialSolution a = SolveBurial(s, kind, up, pb);
        const BurialSolution b = SolveBurial(s, kind, down, pb);
        const bool upOk = a.outcome == BurialOutcome::Solved, downOk = b.outcome == BurialOutcome::Solved;
        const BurialSolution& high = upOk ? a : centre;
        const BurialSolution& low = downOk ? b : centre;
        const double width = (upOk ? h : 0.0) + (downOk ? h : 0.0);
        d.ok = width > 0.0 && centre.outcome == BurialOutcome::Solved;
        if (d.ok) {
            d.t = (high.burialYears - low.burialYears) / width;
            d.parameter = (parameterOf(high) - parameterOf(low)) / width;
        }
        return d;
    };
    const Slope d10 = slope(true), d26 = slope(false);
    BurialUncertainty u;
    u.ok = d10.ok && d26.ok;
    if (!u.ok) {
        u.burialYears = u.sourceParameter = NAN;
        return u;
    }
    u.burialYears = std::hypot(d10.t * errors.be10, d26.t * errors.al26);
    u.sourceParameter = std::hypot(d10.parameter * errors.be10, d26.parameter * errors.al26);
    return u;
}

} // namespace qex
