#pragma once
// The statistics of a group of ages (or erosion rates) of one landform: the
// arithmetic mean and standard deviation, the error-weighted mean with its
// uncertainty, the MSWD (reduced chi-square) and its probability, tests that
// name outliers, and the error-weighted straight line of a transect.

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace qex {

// One value with its 1-sigma uncertainties (the same unit as the value).
struct GroupValue {
    double value = 0.0;
    double internal = 0.0; // analytical: weights and the scatter test
    double external = 0.0; // with the production rate's: what compares ages of other methods
};

struct GroupStatistics {
    int n = 0;
    double mean = 0.0;
    double sd = 0.0; // with n - 1; 0 for one value
    double weightedMean = 0.0;
    double weightedInternal = 0.0; // 1 / sqrt(sum 1/s_i^2) of the internal errors
    double weightedExternal = 0.0; // with the mean's share of the production-rate error added
    double chiSquare = 0.0;
    double mswd = 0.0;        // chi-square / (n - 1); 0 for one value
    double probability = 1.0; // P(chi-square with n - 1 degrees of freedom >= the one found)
    std::size_t oldest = 0;   // index of the largest value
    std::size_t youngest = 0; // index of the smallest value
};

// The statistics of the values whose `use` is true (every value when `use`
// is empty); indexes are into `values`. Errors must be positive.
GroupStatistics ComputeGroupStatistics(const std::vector<GroupValue>& values, const std::vector<bool>& use = {});

// P(X >= x) for X chi-square distributed with `dof` degrees of freedom.
double ChiSquareUpperTail(double x, int dof);

enum class OutlierTest { None, Chauvenet, Gesd };
// "none", "chauvenet", "gesd": the --outliers words.
std::string_view OutlierTestName(OutlierTest test);
// The words, the default first; and the test a word names (the default for any other).
std::span<const std::string_view> OutlierTestWords();
OutlierTest OutlierTestOf(std::string_view word);

struct Outlier {
    std::size_t index = 0;  // into the values
    double statistic = 0.0; // |x - mean| / sd of the values it was tested among
    double critical = 0.0;  // the value it exceeded
};

// The outliers of the values by the test at significance `alpha` (the GESD's
// alpha; Chauvenet's criterion has its own, 1/(2n)), in the order found.
std::vector<Outlier> FindOutliers(const std::vector<double>& values, OutlierTest test, double alpha);

// The generalised ESD critical value lambda_i of the i-th of up to r
// outliers (i from 1) among n values at significance alpha (Rosner 1983).
double GesdCritical(int n, int i, double alpha);
// Chauvenet's criterion: the |z| beyond which a value of n is rejected.
double ChauvenetCritical(int n);

// The line y = intercept + slope x fitted by weighted least squares with
// weights 1/sigma_y^2, its parameters' variances and covariance.
struct WeightedLine {
    double slope = 0.0;
    double intercept = 0.0;
    double varianceSlope = 0.0;
    double varianceIntercept = 0.0;
    double covariance = 0.0;
    double mswd = 0.0; // chi-square / (n - 2); 0 for two points
};
// False with fewer than two distinct x.
bool FitWeightedLine(const std::vector<double>& x, const std::vector<double>& y, const std::vector<double>& sigmaY,
                     WeightedLine& line);

} // namespace qex
