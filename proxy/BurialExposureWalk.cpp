#include "proxy/BurialExposureWalk.h"

#include "core/BuildUp.h"
#include "core/Interpolation.h"
#include "core/Message.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace qex {

namespace {

// Burial sums of one history that differ by more than this (yr) are reported.
constexpr double kConsistencyToleranceYears = 10.0;
// A 10Be concentration at or below this (atoms/g) gives the production ratio as ratio.
constexpr double kRatioGuardAtomsPerGram = 0.1;
// Each correction of a history's old end is exact, so a match follows within a
// step or two; this bound only keeps a pathological curve from looping.
constexpr int kMaxCorrections = 64;

// The running 10Be estimate and the burial sum differ from the exact walk's
// by rounding alone: each of the nc intervals adds a product and a sum to
// both (at most 8 units of DBL_EPSILON, relative, since every term is
// positive), the oldest build-up and the last combination 16 more.
inline double RoundingBound(int nc)
{
    return (8.0 * nc + 16.0) * DBL_EPSILON;
}
// The estimate decides a match or a shortfall only when it clears the match
// tolerance by this much more (relative): the quotient and the product with
// the tolerance round by a few units of 1e-16, far below it.
constexpr double kDecisionMargin = 1e-12;
// The least extension the estimate allows must pass the next rise by this
// much (relative) to rule one out: its exp, log and the crossing's
// interpolation err by units of 1e-16, far below it.
constexpr double kExtensionMargin = 1e-9;

} // namespace

CBurialExposureWalk::CBurialExposureWalk(const SimulationCurve& curve, const SimulationParameters& parameters,
                                         WalkEvaluation evaluation)
    : m_curve(curve), m_p(parameters), m_evaluation(evaluation)
{
    m_base = curve.values.at(0);
    m_range = curve.valueMax - m_base;
    m_curveEnd = curve.years.at(static_cast<std::size_t>(curve.LastIndex()));
    // Where the walk ends: the first point at or beyond the curve's last
    // year (the years may end in repeats of it).
    m_endIndex = 1;
    while (m_endIndex < curve.LastIndex() && curve.years[static_cast<std::size_t>(m_endIndex)] < m_curveEnd)
        ++m_endIndex;
    // Each block's least value; a block holding a value that is not a
    // number is never passed over.
    const std::size_t points = curve.values.size();
    m_blockLeast.assign((points + kBlock - 1) / kBlock, 0.0);
    for (std::size_t b = 0; b < m_blockLeast.size(); ++b) {
        double least = HUGE_VAL;
        for (std::size_t i = b * kBlock; i < std::min(points, (b + 1) * kBlock); ++i)
            least = std::isnan(curve.values[i]) ? -HUGE_VAL : std::min(least, curve.values[i]);
        m_blockLeast[b] = least;
    }
    // A history crosses the cut at most once per segment: room for all of
    // them once, so the walk itself never allocates.
    const std::size_t room = curve.years.size() + 1;
    m_crossings.assign(room, 0.0);
    m_length.assign(room, 0.0);
    m_decay10.assign(room, 0.0);
    m_production10.assign(room, 0.0);
    m_erosion.assign(room, 1.0);
    m_decay26.assign(room, 0.0);
    m_production26.assign(room, 0.0);
    // The error bounds of the fast evaluation need intervals of positive length.
    if (!curve.ascending)
        m_evaluation = WalkEvaluation::Straightforward;
}

// The walk's points above the cut come in long runs (the whole curve for cut
// values near the present's), so the search for the next point at or below
// the cut looks at a block's least value before its points.
int CBurialExposureWalk::LastAboveFrom(int i, double cut) const
{
    const double* values = m_curve.values.data();
    while (i <= m_endIndex) {
        if (i % kBlock == 0 && i + kBlock - 1 <= m_endIndex && m_blockLeast[static_cast<std::size_t>(i / kBlock)] > cut) {
            i += kBlock;
        } else if (values[i] > cut) {
            ++i;
        } else {
            break;
        }
    }
    return i - 1;
}

void CBurialExposureWalk::Warn(const char* text) const
{
    if (m_quiet)
        return;
    if (m_warnings != nullptr)
        m_warnings->push_back(text);
    else
        ShowMessage(text);
}

double CBurialExposureWalk::CutValue(int k) const
{
    const double cut = m_base + k * kCutStepFraction * m_range;
    // Values spanning more than a double holds: the same fraction of the way
    // from V0 to Vmax, taken without forming their difference.
    return std::isfinite(cut) ? cut : std::lerp(m_base, m_curve.valueMax, k * kCutStepFraction);
}

void CBurialExposureWalk::AddCrossing(double year)
{
    const int m = ++m_count;
    m_crossings.at(static_cast<std::size_t>(m)) = year;
    PrepareFactors(m);
    // Interval m ends at the new crossing; the intervals alternate from the
    // present's exposure: odd m exposure, even m burial.
    const auto i = static_cast<std::size_t>(m);
    if (m % 2 == 0) {
        m_transfer = m_transfer * m_decay10[i] * m_erosion[i];
        m_burialSum += m_length[i];
    } else {
        m_younger = m_younger + m_transfer * m_production10[i];
        m_transfer = m_transfer * m_decay10[i];
    }
}

void CBurialExposureWalk::PrepareFactors(int count)
{
    for (int m = m_prepared + 1; m <= count; ++m) {
        const auto i = static_cast<std::size_t>(m);
        const double length = m_crossings.at(i) - m_crossings.at(i - 1);
        m_length.at(i) = length;
        m_decay10.at(i) = std::exp(-m_p.mu10 * length);
        m_production10.at(i) = m_p.saturation10 * (1.0 - m_decay10[i]);
        // Glacial erosion strips the buried rock: exp(-rho epsG dt / Lambda).
        m_erosion.at(i) = m_p.glacialErosion == 0.0
                              ? 1.0
                              : std::exp(-m_p.density * m_p.glacialErosion * length / m_p.freePath);
    }
    m_prepared = std::max(m_prepared, count);
}

void CBurialExposureWalk::PrepareAl26Factors(int count)
{
    for (int m = 1; m <= count; ++m) {
        const auto i = static_cast<std::size_t>(m);
        m_decay26.at(i) = std::exp(-m_p.mu26 * m_length.at(i));
        m_production26.at(i) = m_p.saturation26 * (1.0 - m_decay26[i]);
    }
}

// The 10Be concentration today of the history ending at t, walked from its
// oldest interval [K[nc], t] (exposure) to the present, with the check that
// its burial intervals add up to the burial the walk counted.
double CBurialExposureWalk::Be10Exact(double t, double burialSoFar)
{
    const int nc = m_count;
    if (nc == 0)
        return BuildUp(m_p.saturation10, m_p.mu10, t);
    double n = BuildUp(m_p.saturation10, m_p.mu10, t - m_crossings.at(static_cast<std::size_t>(nc)));
    double burialSum = 0.0;
    bool exposure = true;
    for (int m = nc; m >= 2; --m) {
        const auto i = static_cast<std::size_t>(m);
        exposure = !exposure;
        if (exposure) {
            n = n * m_decay10.at(i) + m_production10.at(i);
        } else {
            n = n * m_decay10.at(i) * m_erosion.at(i);
            burialSum += m_length.at(i);
        }
    }
    n = n * m_decay10.at(1) + m_production10.at(1);
    if (nc > 1 && std::fabs(burialSoFar - burialSum) > kConsistencyToleranceYears)
        Warn("Error inside!");
    return n;
}

// The same value from the running transfer in O(1): an estimate and a bound
// on its distance from Be10Exact's result. Every term is positive, so both
// sums carry a relative rounding error of a few units per interval. Also
// says whether the burial check fails. False when no bound holds or the check
// is too close to call (then only the exact walk will do).
bool CBurialExposureWalk::Be10Bounds(double t, double burialSoFar, double& estimate, double& error,
                                     bool& inconsistent) const
{
    const int nc = m_count;
    if (m_evaluation != WalkEvaluation::Fast || nc % 2 != 0)
        return false;
    estimate = Be10Estimate(t, error);
    if (nc > 1) {
        const double difference = std::fabs(burialSoFar - m_burialSum);
        const double slack = RoundingBound(nc) * (std::fabs(burialSoFar) + m_burialSum);
        if (difference > kConsistencyToleranceYears - slack && difference <= kConsistencyToleranceYears + slack)
            return false;
        inconsistent = difference > kConsistencyToleranceYears;
    }
    return true;
}

// The running estimate itself (an even number of crossings: the history ends
// in exposure since the last one) and the bound on its rounding.
double CBurialExposureWalk::Be10Estimate(double t, double& error) const
{
    const int nc = m_count;
    if (nc == 0) {
        error = 0.0;
        return BuildUp(m_p.saturation10, m_p.mu10, t);
    }
    const double oldest = BuildUp(m_p.saturation10, m_p.mu10, t - m_crossings[static_cast<std::size_t>(nc)]);
    const double estimate = m_transfer * oldest + m_younger;
    error = RoundingBound(nc) * estimate;
    return estimate;
}

// Whether every point of an exposure run up to `until`, `points` of them,
// would be evaluated as too short of 10Be with no room to reach it at once,
// without a warning: the estimate at the last of them, with the margins of the
// estimate's rounding, falls short by more than the tolerance, and the
// burial check passes clearly (the burial so far drifts along the run only by
// the rounding of the exposure added).
bool CBurialExposureWalk::ShortAllTheWay(double until, double burialSoFar, int points) const
{
    const int nc = m_count;
    if (m_evaluation != WalkEvaluation::Fast || nc % 2 != 0)
        return false;
    double error = 0.0;
    const double estimate = Be10Estimate(until, error);
    const double n10 = m_p.be10Concentration;
    if (!((n10 - estimate - error) / n10 > kMatchTolerance * (1.0 + 1e-6)))
        return false;
    if (nc > 1) {
        const double drift = 2.0 * (points + 1) * DBL_EPSILON * (until + std::fabs(burialSoFar));
        const double slack = RoundingBound(nc) * (std::fabs(burialSoFar) + drift + m_burialSum);
        if (!(std::fabs(burialSoFar - m_burialSum) + drift + slack < kConsistencyToleranceYears - 1.0))
            return false;
    }
    return true;
}

CBurialExposureWalk::Outcome CBurialExposureWalk::Evaluate(int j, double cut, double& t, double& u,
                                                           double burialSoFar)
{
    const auto& Y = m_curve.years;
    const auto& V = m_curve.values;
    const double n10 = m_p.be10Concentration;
    const double mu = m_p.mu10;
    const auto next = static_cast<std::size_t>(j + 1);
    // Exposure added or removed at the old end reaches today through decay
    // over t and glacial erosion over the burial U: a change D today is
    // x = D exp(mu t) exp(rho epsG U / Lambda) mu / P10 at the old end, in
    // units of the saturation there.
    // Without glacial erosion its factor is exp(0) = 1, which needs no exp.
    const double erosionExponent = m_p.density * m_p.glacialErosion * burialSoFar / m_p.freePath;
    auto atOldEnd = [&](double change) {
        const double erosion = m_p.glacialErosion == 0.0 ? 1.0 : std::exp(erosionExponent);
        return change * std::exp(mu * t) * erosion * mu / m_p.be10Production;
    };
    // Exposure dT added before t raises today's 10Be by
    // (P10/mu) e^(-mu t) (1 - e^(-mu dT)) e^(-rho epsG U / Lambda), so a
    // shortfall x needs dT = -ln(1 - x) / mu: none when x >= 1.
    auto extension = [&](double shortfall) {
        const double argument = 1.0 - atOldEnd(shortfall);
        return argument > 0.0 ? -std::log(argument) / mu : std::nan("");
    };
    // Removing the oldest dT lowers it by
    // (P10/mu) e^(-mu t) (e^(mu dT) - 1) e^(-rho epsG U / Lambda), so a
    // surplus x takes dT = ln(1 + x) / mu, whatever its size.
    auto removal = [&](double surplus) { return std::log1p(atOldEnd(surplus)) / mu; };
    // Where the next segment rises through the cut.
    auto nextRise = [&] { return CutCrossingYear(Y.at(next), V.at(next), Y.at(next + 1), V.at(next + 1), cut); };

    bool corrected = false;
    bool stop = false;
    double tBefore = t;
    double uBefore = u;
    for (int step = 0; step < kMaxCorrections; ++step) {
        double estimate = 0.0;
        double error = 0.0;
        bool inconsistent = false;
        if (Be10Bounds(t, burialSoFar, estimate, error, inconsistent)) {
            // Decide from the estimate when every value within its bound
            // decides alike (the usual case: too little 10Be and no room).
            const double distance = std::fabs(estimate - n10);
            if ((distance + error) / n10 < kMatchTolerance * (1.0 - kDecisionMargin)) {
                if (inconsistent)
                    Warn("Error inside!");
                return Outcome::Finish;
            }
            bool decided = false;
            if ((distance - error) / n10 > kMatchTolerance * (1.0 + kDecisionMargin) && estimate + error < n10) {
                if (t >= m_curveEnd || !(V.at(next + 1) > cut)) {
                    decided = true;
                } else {
                    const double least = extension(n10 - (estimate + error));
                    decided = std::isnan(least) || least * (1.0 - kExtensionMargin) > nextRise() - t;
                }
            }
            if (decided) {
                if (inconsistent)
                    Warn("Error inside!");
                break;
            }
        }
        const double n = Be10Exact(t, burialSoFar);
        if (std::fabs(n - n10) / n10 < kMatchTolerance)
            return Outcome::Finish;
        if (n < n10) {
            // Too little 10Be: more exposure at the old end, as far as the
            // next rise through the cut. Without a rise in the next segment
            // there is no room here; a later segment's evaluation finds the match.
            const double extra = extension(n10 - n);
            if (std::isnan(extra) || t >= m_curveEnd || !(V.at(next + 1) > cut) || !(extra <= nextRise() - t))
                break;
            tBefore = t;
            uBefore = u;
            t += extra;
            u += extra;
            corrected = true;
        } else if (n > n10) {
            // Too much: less exposure at the old end, within the exposure
            // stretch of this segment (from the later of the last crossing
            // and the segment's start).
            const double surplus = removal(n - n10);
            const double begin = std::max(m_count > 0 ? m_crossings.at(static_cast<std::size_t>(m_count)) : 0.0,
                                          Y.at(static_cast<std::size_t>(j)));
            if (!(surplus <= t - begin)) {
                stop = true;
                break;
            }
            tBefore = t;
            uBefore = u;
            t -= surplus;
            u -= surplus;
            corrected = true;
        } else {
            break;
        }
    }
    if (corrected) {
        t = tBefore;
        u = uBefore;
    }
    return stop ? Outcome::Finish : Outcome::Continue;
}

CutHistory CBurialExposureWalk::Walk(int k, HistoryRecord* record)
{
    const auto& Y = m_curve.years;
    const auto& V = m_curve.values;
    const int n = m_curve.LastIndex();
    const double cut = CutValue(k);

    m_count = 0;
    m_prepared = 0;
    m_transfer = 1.0;
    m_younger = 0.0;
    m_burialSum = 0.0;

    double t = 0.0;        // how far into the past the walk has come, yr
    double u = 0.0;        // exposure within [0, t], yr
    bool exposure = true;  // the side of the point reached
    bool stopped = false;  // before the end of the curve
    // The segment loop runs about a million times per run: its indices are
    // the loop's own (0 .. n-1 and the point after), so it reads the arrays
    // directly.
    const double* years = Y.data();
    const double* values = V.data();
    const int endIndex = m_endIndex;
    const double minimumExposure = m_p.minimumExposure;
    // The last point of the quiet run found last: every point of a run has
    // the same last point, so each run is looked through once, however
    // often its points are evaluated.
    int quietEnd = -1;
    for (int j = 0; j < n; ++j) {
        const double y0 = years[j];
        const double y1 = years[j + 1];
        const double v0 = values[j];
        const double v1 = values[j + 1];
        const double d0 = v0 - cut;
        const double d1 = v1 - cut;
        // A point exactly on the cut lies on the exposure side.
        if (d0 <= 0.0 && d1 > 0.0) {
            const double x = CutCrossingYear(y0, v0, y1, v1, cut);
            u += x - y0;
            AddCrossing(x);
            t = x;
            exposure = false;
        } else if (d0 > 0.0 && d1 <= 0.0) {
            const double x = CutCrossingYear(y0, v0, y1, v1, cut);
            u += y1 - x;
            AddCrossing(x);
            t = y1;
            exposure = true;
        } else if (d0 <= 0.0 && d1 <= 0.0) {
            // Below the cut throughout: exposure. Until it exceeds the
            // minimum exposure nothing is evaluated, so the following
            // segments that stay below are added on here (in the same order,
            // so u is the same to the last bit).
            u += y1 - y0;
            while (!(u > minimumExposure) && j + 1 < endIndex && values[j + 2] <= cut) {
                ++j;
                u += years[j + 1] - years[j];
            }
            t = years[j + 1];
            exposure = true;
            // The points of this run whose next segment stays below the cut
            // are evaluated only to find the 10Be still short of the
            // measurement; when it is short at the last of them, it is at
            // every one (it only grows along the run), and they are passed over.
            if (u > minimumExposure) {
                if (j > quietEnd) {
                    quietEnd = j;
                    while (quietEnd + 1 < endIndex && values[quietEnd + 2] <= cut)
                        ++quietEnd;
                }
                const int lastQuiet = quietEnd;
                if (lastQuiet >= j + 2 && ShortAllTheWay(years[lastQuiet], t - u, lastQuiet - j)) {
                    while (j + 1 < lastQuiet) {
                        ++j;
                        u += years[j + 1] - years[j];
                    }
                    t = years[j + 1];
                    continue;
                }
            }
        } else {
            // Above the cut throughout: burial, which asks for nothing until
            // the curve comes back down to the cut.
            j = LastAboveFrom(j + 2, cut) - 1;
            t = years[j + 1];
            exposure = false;
        }
        if (t >= m_curveEnd)
            break;
        const double burialSoFar = t - u;
        if (u > m_p.minimumExposure && exposure && Evaluate(j, cut, t, u, burialSoFar) == Outcome::Finish) {
            stopped = true;
            break;
        }
    }
    CutHistory history = Finish(cut, t, u, exposure, record);
    history.reachedCurveEnd = !stopped;
    return history;
}

CutHistory CBurialExposureWalk::Finish(double cut, double t, double u, bool exposureState, HistoryRecord* record)
{
    const int nc = m_count;
    const double s10 = m_p.saturation10;
    const double s26 = m_p.saturation26;
    const double rp = m_p.productionRatio;
    auto pairOf = [rp](double be, double al) {
        return NuclidePair{be, al, be <= kRatioGuardAtomsPerGram ? rp : al / be};
    };
    if (record != nullptr) {
        record->crossings.clear();
        record->pairs.clear();
        record->oldestIsBurial = false;
    }

    CutHistory history;
    // Cut values are shown in the curve's own units.
    history.cutValue = CurveValue(cut, m_curve.negated);
    history.total = t;
    history.firstCutAge = nc >= 1 ? m_crossings.at(1) : 0.0;
    double be = 0.0;
    double al = 0.0;
    double burial = 0.0;
    if (nc <= 1) {
        // No burial behind the present's exposure: all of [0, t] counts as exposure.
        u = t;
        be = BuildUp(s10, m_p.mu10, t);
        al = BuildUp(s26, m_p.mu26, t);
        history.cuttingNumber = 0;
        if (record != nullptr)
            record->pairs.push_back(pairOf(be, al));
    } else {
        PrepareFactors(nc);
        PrepareAl26Factors(nc);
        if (exposureState) {
            const double dt = t - m_crossings.at(static_cast<std::size_t>(nc));
            be = BuildUp(s10, m_p.mu10, dt);
            al = BuildUp(s26, m_p.mu26, dt);
            if (record != nullptr)
                record->pairs.push_back(pairOf(be, al));
        }
        bool exposure = exposureState;
        for (int m = nc; m >= 2; --m) {
            const auto i = static_cast<std::size_t>(m);
            exposure = !exposure;
            if (exposure) {
                be = be * m_decay10.at(i) + m_production10.at(i);
                al = al * m_decay26.at(i) + m_production26.at(i);
            } else {
                be = be * m_decay10.at(i) * m_erosion.at(i);
                al = al * m_decay26.at(i) * m_erosion.at(i);
                burial += m_length.at(i);
            }
            if (record != nullptr)
                record->pairs.push_back(pairOf(be, al));
        }
        be = be * m_decay10.at(1) + m_production10.at(1);
        al = al * m_decay26.at(1) + m_production26.at(1);
        if (record != nullptr)
            record->pairs.push_back(pairOf(be, al));
        // The burial passed must be what the walk left between exposures.
        const double expected = exposureState ? t - u : m_crossings.at(static_cast<std::size_t>(nc)) - u;
        if (std::fabs(burial - expected) > kConsistencyToleranceYears)
            Warn("Error outside!");
        history.cuttingNumber = exposureState ? nc : nc - 1;
        if (record != nullptr) {
            record->crossings.assign(m_crossings.begin() + 1, m_crossings.begin() + 1 + nc);
            record->oldestIsBurial = !exposureState;
        }
    }
    history.exposure = u;
    history.burial = burial;
    // A history of no length holds no 10Be; its ratio is the production ratio.
    history.ratio = be != 0.0 ? al / be : rp;
    // Matched only when the walk stopped on the match: a walk that ran to the
    // curve's end with the 10Be by chance within the tolerance says nothing of
    // when the sample began.
    history.matched = !history.reachedCurveEnd && history.total < m_curveEnd &&
                      std::fabs(be - m_p.be10Concentration) / m_p.be10Concentration < kMatchTolerance;
    return history;
}

} // namespace qex
