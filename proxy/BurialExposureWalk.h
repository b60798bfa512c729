#pragma once
// The history of one cut value: the walk along the proxy curve from the
// present into the past (below the cut exposure, above it burial), stopped
// where the simulated 10Be matches the measured concentration, then both
// nuclides simulated along that history.

#include "proxy/SimulationCurve.h"
#include "proxy/SimulationParameters.h"

#include <vector>

namespace qex {

// Number of cut values tried, k = 1 .. 998, each V0 + k * 0.001 * (Vmax - V0).
inline constexpr int kSimulationCutCount = 998;
inline constexpr double kCutStepFraction = 0.001;
// A simulated concentration matches a measured one within this relative difference.
inline constexpr double kMatchTolerance = 0.001;

// One simulated 10Be / 26Al state of a history (atoms/g) with its ratio.
struct NuclidePair {
    double be10 = 0.0;
    double al26 = 0.0;
    double ratio = 0.0;
};

// What the finished history of one cut value gives.
struct CutHistory {
    double cutValue = 0.0;    // proxy units
    double ratio = 0.0;       // simulated 26Al/10Be
    double firstCutAge = 0.0; // youngest crossing, yr (0 without crossings)
    double exposure = 0.0;    // total exposure u, yr
    double burial = 0.0;      // total burial, yr
    double total = 0.0;       // age at which the history begins, yr
    int cuttingNumber = 0;    // crossings that count as cutting ages
    bool matched = false;     // its walk stopped where its simulated 10Be is the measured one (relative
                              // difference below 0.001), before the curve's end
    bool reachedCurveEnd = false; // its walk ran to the end of the curve (rather than stopping at a match
                                  // or at an exposure it could not shorten)
};

// The crossings and simulated states of a history, for its report and plots.
struct HistoryRecord {
    std::vector<double> crossings; // every crossing bounding its intervals, youngest first
    bool oldestIsBurial = false;   // its oldest interval [last crossing, total] holds no nuclides
    std::vector<NuclidePair> pairs; // after each interval, oldest first, the present last
};

// How a history's 10Be is evaluated during the walk. Both give the same
// results to the last bit; the straightforward way re-walks every crossing at
// every evaluation and serves as the reference.
enum class WalkEvaluation { Fast, Straightforward };

// Walks on different threads change their running sums constantly: each
// walk has its cache lines to itself.
class alignas(64) CBurialExposureWalk {
public:
    CBurialExposureWalk(const SimulationCurve& curve, const SimulationParameters& parameters,
                        WalkEvaluation evaluation = WalkEvaluation::Fast);

    // Cut value k (1 .. kSimulationCutCount).
    double CutValue(int k) const;

    // Walks the curve at cut value k and finishes its history. With a record,
    // also gives the history's crossings and pairs.
    CutHistory Walk(int k, HistoryRecord* record = nullptr);

    // While quiet, the consistency warnings are not shown (a history walked
    // again for its record has shown them once already).
    void SetQuiet(bool quiet) { m_quiet = quiet; }
    // With a list, the warnings are added to it instead of being shown (a
    // walk on a helper thread leaves them to the calling thread to show).
    void CollectWarnings(std::vector<const char*>* warnings) { m_warnings = warnings; }

private:
    enum class Outcome { Continue, Finish };

    void Warn(const char* text) const;

    // The last point before the first point from i on that lies at or below
    // the cut (or the walk's end point when none does before it).
    int LastAboveFrom(int i, double cut) const;
    void AddCrossing(double year);
    double Be10Estimate(double t, double& error) const;
    bool ShortAllTheWay(double until, double burialSoFar, int points) const;
    Outcome Evaluate(int j, double cut, double& t, double& u, double burialSoFar);
    double Be10Exact(double t, double burialSoFar);
    bool Be10Bounds(double t, double burialSoFar, double& estimate, double& error, bool& inconsistent) const;
    void PrepareFactors(int count);
    void PrepareAl26Factors(int count);
    CutHistory Finish(double cut, double t, double u, bool exposureState, HistoryRecord* record);

    const SimulationCurve& m_curve;
    SimulationParameters m_p;
    WalkEvaluation m_evaluation;
    bool m_quiet = false;
    std::vector<const char*>* m_warnings = nullptr;
    double m_base = 0.0;     // V0, the present's value
    double m_range = 0.0;    // Vmax - V0
    double m_curveEnd = 0.0; // Y[n]
    int m_endIndex = 0;      // the first point i >= 1 with Y[i] >= Y[n]
    static constexpr int kBlock = 8;
    std::vector<double> m_blockLeast; // least value of points [b kBlock, (b + 1) kBlock)

    // Crossings K[1..m_count] of the history being walked (index 0 holds 0).
    std::vector<double> m_crossings;
    int m_count = 0;
    // Per interval m = [K[m-1], K[m]], prepared for the first m_prepared
    // intervals: length, 10Be decay factor, 10Be production, burial erosion factor.
    std::vector<double> m_length, m_decay10, m_production10, m_erosion;
    int m_prepared = 0;
    std::vector<double> m_decay26, m_production26;
    // Running 10Be transfer from the oldest crossing to the present:
    // N(present) = m_transfer * N(K[m_count]) + m_younger, and the burial
    // between the present and K[m_count].
    double m_transfer = 1.0;
    double m_younger = 0.0;
    double m_burialSum = 0.0;
};

} // namespace qex
