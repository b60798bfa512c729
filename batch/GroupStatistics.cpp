#include "batch/GroupStatistics.h"

#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>

namespace qex {

namespace {

// Distributions that answer NaN or infinity for arguments out of their
// domain instead of throwing: a calculation reports through its values.
namespace policies = boost::math::policies;
using Quiet = policies::policy<policies::domain_error<policies::ignore_error>,
                               policies::overflow_error<policies::ignore_error>,
                               policies::evaluation_error<policies::ignore_error>>;

struct MeanSd {
    double mean = 0.0;
    double sd = 0.0;
};

// Arithmetic mean and sample standard deviation (n - 1) of the used values.
MeanSd MeanAndSd(const std::vector<double>& x, const std::vector<bool>& use)
{
    double sum = 0.0;
    int n = 0;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (use[i]) {
            sum += x[i];
            ++n;
        }
    MeanSd out;
    if (n == 0)
        return out;
    out.mean = sum / n;
    double squares = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i)
        if (use[i])
            squares += (x[i] - out.mean) * (x[i] - out.mean);
    out.sd = n > 1 ? std::sqrt(squares / (n - 1)) : 0.0;
    return out;
}

} // namespace

double ChiSquareUpperTail(double x, int dof)
{
    if (dof < 1 || !(x > 0.0))
        return 1.0;
    if (!std::isfinite(x))
        return 0.0;
    return boost::math::cdf(boost::math::complement(boost::math::chi_squared_distribution<double, Quiet>(dof), x));
}

GroupStatistics ComputeGroupStatistics(const std::vector<GroupValue>& values, const std::vector<bool>& use)
{
    const std::vector<bool> used = use.empty() ? std::vector<bool>(values.size(), true) : use;
    std::vector<double> x;
    for (const GroupValue& v : values)
        x.push_back(v.value);
    GroupStatistics s;
    s.n = static_cast<int>(std::count(used.begin(), used.end(), true));
    if (s.n == 0)
        return s;
    const MeanSd plain = MeanAndSd(x, used);
    s.mean = plain.mean;
    s.sd = plain.sd;

    // Error-weighted mean with weights 1/s_i^2 of the internal errors and its
    // standard error (Bevington & Robinson 2003, eqs. 4.17 and 4.19).
    double sumW = 0.0, sumWx = 0.0;
    bool first = true;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!used[i])
            continue;
        const double w = 1.0 / (values[i].internal * values[i].internal);
        sumW += w;
        sumWx += w * values[i].value;
        if (first || values[i].value > values[s.oldest].value)
            s.oldest = i;
        if (first || values[i].value < values[s.youngest].value)
            s.youngest = i;
        first = false;
    }
    s.weightedMean = sumWx / sumW;
    s.weightedInternal = 1.0 / std::sqrt(sumW);

    // The production rate's error is shared by every sample: it does not
    // average out, so it is added to the mean's internal error afterwards, in
    // quadrature, as the weighted mean of the samples' relative systematic
    // errors sqrt(ext^2 - int^2) / value times the mean (Balco 2011).
    double relative = 0.0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!used[i])
            continue;
        const GroupValue& v = values[i];
        const double systematic = std::sqrt(std::max(0.0, v.external * v.external - v.internal * v.internal));
        const double w = 1.0 / (v.internal * v.internal);
        relative += v.value != 0.0 ? w * systematic / std::fabs(v.value) : 0.0;
    }
    relative /= sumW;
    s.weightedExternal = std::hypot(s.weightedInternal, relative * s.weightedMean);

    // MSWD: chi-square about the weighted mean over n - 1 degrees of freedom
    // (Wendt & Carl 1991, eq. 1).
    for (std::size_t i = 0; i < values.size(); ++i)
        if (used[i]) {
            const double r = (values[i].value - s.weightedMean) / values[i].internal;
            s.chiSquare += r * r;
        }
    s.mswd = s.n > 1 ? s.chiSquare / (s.n - 1) : 0.0;
    s.probability = ChiSquareUpperTail(s.chiSquare, s.n - 1);
    return s;
}

std::string_view OutlierTestName(OutlierTest test)
{
    switch (test) {
    case OutlierTest::Chauvenet:
        return "chauvenet";
    case OutlierTest::Gesd:
        return "gesd";
    case OutlierTest::None:
        break;
    }
    return "none";
}

std::span<const std::string_view> OutlierTestWords()
{
    static constexpr std::string_view words[] = {"gesd", "chauvenet", "none"};
    return words;
}

OutlierTest OutlierTestOf(std::string_view word)
{
    for (OutlierTest test : {OutlierTest::None, OutlierTest::Chauvenet, OutlierTest::Gesd})
        if (OutlierTestName(test) == word)
            return test;
    return OutlierTest::Gesd;
}

double GesdCritical(int n, int i, double alpha)
{
    // Rosner (1983), eq. 2.5: lambda_i = (n - i) t / sqrt((n - i - 1 + t^2)(n - i + 1)),
    // t the 100 p percentage point of Student's t with n - i - 1 degrees of
    // freedom, p = 1 - alpha / (2 (n - i + 1)).
    const int dof = n - i - 1;
    const double p = 1.0 - alpha / (2.0 * (n - i + 1));
    const double t = boost::math::quantile(boost::math::students_t_distribution<double, Quiet>(dof), p);
    return (n - i) * t / std::sqrt((dof + t * t) * (n - i + 1));
}

double ChauvenetCritical(int n)
{
    // Chauvenet's criterion (Taylor 1997, sec. 6.2): reject a value when fewer
    // than half a value of n is expected as far out, n P(|Z| >= z) < 1/2, so
    // z_c = Phi^-1(1 - 1/(4n)).
    return boost::math::quantile(boost::math::normal_distribution<double, Quiet>(), 1.0 - 1.0 / (4.0 * n));
}

std::vector<Outlier> FindOutliers(const std::vector<double>& values, OutlierTest test, double alpha)
{
    const int n = static_cast<int>(values.size());
    std::vector<Outlier> found;
    // Three values at least: with two, each is as far from the mean as the other.
    if (test == OutlierTest::None || n < 3)
        return found;
    std::vector<bool> use(values.size(), true);

    if (test == OutlierTest::Chauvenet) {
        // One pass over all values: applied again and again, the criterion eats a group.
        const MeanSd all = MeanAndSd(values, use);
        const double critical = ChauvenetCritical(n);
        if (all.sd > 0.0)
            for (std::size_t i = 0; i < values.size(); ++i) {
                const double z = std::fabs(values[i] - all.mean) / all.sd;
                if (z > critical)
                    found.push_back({i, z, critical});
            }
        return found;
    }

    // Generalised ESD (Rosner 1983): remove the most extreme value r times
    // (r at most (n - 1)/2, so that outliers stay a minority); the number of
    // outliers is the largest i whose R_i exceeds lambda_i.
    const int r = std::min((n - 1) / 2, n - 2);
    std::vector<Outlier> candidates;
    int outliers = 0;
    for (int i = 1; i <= r; ++i) {
        const MeanSd left = MeanAndSd(values, use);
        if (!(left.sd > 0.0))
            break;
        std::size_t far = 0;
        double best = -1.0;
        for (std::size_t j = 0; j < values.size(); ++j)
            if (use[j] && std::fabs(values[j] - left.mean) > best) {
                best = std::fabs(values[j] - left.mean);
                far = j;
            }
        const Outlier candidate{far, best / left.sd, GesdCritical(n, i, alpha)};
        candidates.push_back(candidate);
        use[far] = false;
        if (candidate.statistic > candidate.critical)
            outliers = i;
    }
    found.assign(candidates.begin(), candidates.begin() + outliers);
    return found;
}

bool FitWeightedLine(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& sigmaY,
                     WeightedLine& line)
{
    // Straight line by weighted least squares (Press et al. 2007, Numerical
    // Recipes 3rd ed., eqs. 15.2.4 to 15.2.10).
    double s = 0.0, sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double w = 1.0 / (sigmaY[i] * sigmaY[i]);
        s += w;
        sx += w * x[i];
        sy += w * y[i];
        sxx += w * x[i] * x[i];
        sxy += w * x[i] * y[i];
    }
    const double delta = s * sxx - sx * sx;
    if (x.size() < 2 || !(delta > 0.0) || !(delta > 1e-12 * s * sxx))
        return false;
    line.slope = (s * sxy - sx * sy) / delta;
    line.intercept = (sxx * sy - sx * sxy) / delta;
    line.varianceSlope = s / delta;
    line.varianceIntercept = sxx / delta;
    line.covariance = -sx / delta;
    double chi = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double r = (y[i] - line.intercept - line.slope * x[i]) / sigmaY[i];
        chi += r * r;
    }
    line.mswd = x.size() > 2 ? chi / static_cast<double>(x.size() - 2) : 0.0;
    return true;
}

} // namespace qex
