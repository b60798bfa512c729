#pragma once
// The simulation report: one line per cut value under "[Calculation
// Information]", then the best fit under "[Best Fit Information]".

#include "core/HalfLives.h"
#include "proxy/BurialExposureWalk.h"

#include <string>
#include <vector>

namespace qex {

// The best-fit history of a run, as the engine returns it.
struct SimulationBestFit {
    double exposureTime = 0.0;    // yr
    double burialTime = 0.0;      // yr
    double totalTime = 0.0;       // yr
    double ratioDifference = 0.0; // percent, 100 |R - Rm| / Rm
    double cutValue = 0.0;        // proxy units
    std::vector<double> cuttingAges; // yr, youngest first
    int cuttingNumber = 0;
    double calculatedRatio = 0.0; // simulated 26Al/10Be
    std::vector<NuclidePair> pairs; // oldest first, the present last
    bool offCurve = false; // chosen among all histories: none matched the measured 10Be
    bool lowerLimit = false; // matched, and older exposure would change its 10Be by less than its uncertainty
};

// ABS_diff of the report: |100 (R - Rm) / Rm|, percent.
double ReportRatioDifference(double ratio, double measuredRatio);

// The lines that name what made a result other than the defaults: the
// half-lives when they are not the original ones, and the exposure above the
// cut. They end a listed block and head a report; none for the defaults.
std::vector<std::string> SimulationSettingLines(const HalfLives& halfLives, bool exposureAboveCut);

// The whole report text; `best` is null when no cut value qualified. The
// `settings` lines (SimulationSettingLines) come first.
std::string FormatSimulationReport(const std::vector<CutHistory>& histories, double measuredRatio,
                                   const SimulationBestFit* best, const std::vector<std::string>& settings = {});

} // namespace qex
