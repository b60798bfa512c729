#include "burial/IsochronAge.h"

#include "burial/BurialModel.h"
#include "core/Concurrency.h"
#include "core/Format.h"

#include <algorithm>
#include <cmath>

namespace qex {

namespace {

// Post-burial inventory of a nuclide after t years of production P at depth:
// P (1 - e^(-lambda t)) / lambda (Lal 1991, eq. 3 without erosion).
double PostBurialInventory(double production, double lambda, double years)
{
    return production * -std::expm1(-lambda * years) / lambda;
}

// The fit of the samples less their post-burial inventories after `years`.
bool FitCorrected(const std::vector<IsochronSample>& samples, double lambda10, double lambda26, double years,
                  YorkLine& line, std::string& error)
{
    std::vector<YorkPoint> points;
    points.reserve(samples.size());
    for (const IsochronSample& s : samples)
        points.push_back({s.be10 - PostBurialInventory(s.be10PostBurialProduction, lambda10, years), s.be10Error,
                          s.al26 - PostBurialInventory(s.al26PostBurialProduction, lambda26, years), s.al26Error,
                          0.0});
    return FitYorkLine(points, line, error);
}

// The age of a fitted line, or why it has none.
IsochronOutcome DateLine(const YorkLine& line, const IsochronSettings& settings, double& age, std::string& failure)
{
    if (!(line.slope > 0.0)) {
        failure = Format("the isochron's slope (%.4f) is not above 0: no ratio to date", line.slope);
        return IsochronOutcome::NoRatio;
    }
    if (!(line.slope < settings.productionRatio)) {
        failure = Format("the isochron's slope (%.4f) is not below the production ratio (%.4f): no burial",
                         line.slope, settings.productionRatio);
        return IsochronOutcome::NotBuried;
    }
    age = IsochronBurialAge(line.slope, settings.productionRatio, settings.halfLives);
    return IsochronOutcome::Age;
}

} // namespace

double IsochronBurialAge(double slope, double productionRatio, const HalfLives& halfLives)
{
    return std::log(productionRatio / slope) / (DecayConstant(halfLives.al26) - DecayConstant(halfLives.be10));
}

IsochronSolution SolveIsochron(const std::vector<IsochronSample>& samples, const IsochronSettings& settings)
{
    IsochronSolution s;
    const double lambda10 = DecayConstant(settings.halfLives.be10);
    const double lambda26 = DecayConstant(settings.halfLives.al26);
    s.postBurial = std::any_of(samples.begin(), samples.end(), [](const IsochronSample& x) {
        return x.be10PostBurialProduction > 0.0 || x.al26PostBurialProduction > 0.0;
    });
    if (!(settings.productionRatio > 0.0)) {
        s.outcome = IsochronOutcome::NotBuried;
        s.failure = "the production ratio must be above 0";
        return s;
    }
    double age = 0.0;
    if (!FitCorrected(samples, lambda10, lambda26, 0.0, s.line, s.failure))
        return s;
    s.outcome = DateLine(s.line, settings, age, s.failure);
    // Balco & Rovey (2008): take off the post-burial inventories of the
    // current age, refit, date again, until the age settles.
    while (s.outcome == IsochronOutcome::Age && s.postBurial) {
        if (s.refits == kIsochronMaxRefits) {
            s.outcome = IsochronOutcome::NotConverged;
            s.failure = Format("the correction for post-burial production did not settle within %d refits "
                               "(last age %.1f kyr)",
                               kIsochronMaxRefits, age / 1000.0);
            return s;
        }
        ++s.refits;
        if (!FitCorrected(samples, lambda10, lambda26, age, s.line, s.failure)) {
            s.outcome = IsochronOutcome::NoFit;
            return s;
        }
        double next = 0.0;
        s.outcome = DateLine(s.line, settings, next, s.failure);
        const bool settled = std::fabs(next - age) < kIsochronAgeTolerance;
        age = next;
        if (settled)
            break;
    }
    if (s.outcome != IsochronOutcome::Age)
        return s;
    s.age = age;
    // dt/db = -1 / (b dl), dt/dR0 = 1 / (R0 dl), dl = lambda26 - lambda10.
    const double deltaLambda = lambda26 - lambda10;
    const double fromRatio = settings.productionRatioError / settings.productionRatio;
    const double fromSlope = s.line.slopeError / s.line.slope;
    const double inflation = s.line.mswd > 1.0 ? std::sqrt(s.line.mswd) : 1.0;
    s.ageError = std::hypot(fromSlope, fromRatio) / deltaLambda;
    s.ageErrorScaled = std::hypot(fromSlope * inflation, fromRatio) / deltaLambda;
    return s;
}

bool DrawIsochronAges(const std::vector<IsochronSample>& samples, const IsochronSettings& settings, int draws,
                      const DeviateSource& deviates, IsochronDraws& result, int threads,
                      const IsochronProgress& progress)
{
    result = IsochronDraws();
    result.draws = std::max(draws, 0);
    const int count = 2 * static_cast<int>(samples.size()) + 1;
    // Each draw writes its own slot, whichever thread runs it.
    std::vector<IsochronSolution> solutions(static_cast<std::size_t>(result.draws));
    if (threads <= 0)
        threads = AvailableThreads();
    const bool finished = ShareWork(
        result.draws, threads, 16,
        [&](int, int first, int last) {
            for (int d = first; d <= last; ++d) {
                const std::vector<double> z = deviates(static_cast<std::uint64_t>(d), count);
                std::vector<IsochronSample> drawn = samples;
                for (std::size_t i = 0; i < drawn.size(); ++i) {
                    drawn[i].be10 += drawn[i].be10Error * z[2 * i];
                    drawn[i].al26 += drawn[i].al26Error * z[2 * i + 1];
                }
                IsochronSettings s = settings;
                s.productionRatio += settings.productionRatioError * z[static_cast<std::size_t>(count - 1)];
                solutions[static_cast<std::size_t>(d)] = SolveIsochron(drawn, s);
            }
        },
        [&](int done) { return !progress || progress(done, result.draws); });
    if (!finished)
        return false;
    for (const IsochronSolution& s : solutions) {
        if (s.outcome == IsochronOutcome::Age)
            result.ages.push_back(s.age);
        else if (s.outcome == IsochronOutcome::NotBuried)
            ++result.notBuried;
        else
            ++result.noFit;
    }
    return true;
}

} // namespace qex
