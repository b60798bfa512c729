#pragma once
// What the plot window draws, as plain data: the proxy curve with its cut and
// the history of exposure and burial it implies, the two-nuclide diagram of a
// simulation, and the ratio difference across the cut values. Ages in kyr,
// concentrations in atoms/g; the window only draws these.

#include "core/HalfLives.h"
#include "proxy/ProxyCurve.h"

#include <string>
#include <vector>

namespace qex {

struct MonteCarloResult;
struct SimulationDetail;
struct SimulationInputs;

struct PlotPoint {
    double x = 0.0;
    double y = 0.0;
};

struct AxisRange {
    double minimum = 0.0;
    double maximum = 1.0;
};

// One stretch of a history between two crossings (or the present, or the total age).
struct HistoryStretch {
    StretchKind kind = StretchKind::Exposure;
    double start = 0.0; // kyr
    double end = 0.0;   // kyr
    std::string label;  // its duration, "12.3 kyr"
    double Duration() const { return end - start; }
};

// The proxy curve, the cut and the history shaded to its total age.
struct ProxyHistoryPlot {
    std::string title;
    std::string curveName;
    std::vector<PlotPoint> curve;          // (age kyr, proxy value), youngest first
    double cutValue = 0.0;                 // proxy units
    std::vector<double> crossings;         // kyr, youngest first
    std::vector<HistoryStretch> stretches; // from the present to the total age, youngest first
    double totalAge = 0.0;                 // kyr
    double exposure = 0.0;                 // kyr, as the results list gives it
    double burial = 0.0;                   // kyr, as the results list gives it
    AxisRange ages;                        // x axis, kyr
    AxisRange values;                      // y axis, proxy units
};

// The 26Al/10Be ratio against 10Be: the simple-exposure field between the
// constant-exposure curve and the steady-erosion end member (with the run's
// half-lives), the measured sample and the best history's path.
struct TwoNuclidePlot {
    std::string title;
    std::vector<PlotPoint> constantExposure; // (10Be, 26Al/10Be), no erosion, exposure growing
    std::vector<PlotPoint> steadyErosion;    // (10Be, 26Al/10Be), steady state, erosion falling
    PlotPoint sample;                        // measured (10Be, 26Al/10Be)
    double be10Sigma = 0.0;                  // one sigma of the measured 10Be, atoms/g
    double ratioSigma = 0.0;                 // one sigma of the measured ratio
    std::vector<PlotPoint> path;             // best history, oldest first, the simulated sample last
    AxisRange be10;                          // x axis (logarithmic, whole decades), atoms/g
    AxisRange ratio;                         // y axis
};

// ABS_diff of the report against the cut value, one point per cut value.
struct FitPlot {
    std::string title;
    std::vector<PlotPoint> points; // (cut value, ratio difference in percent), in cut order
    bool hasBest = false;
    PlotPoint best; // the best fit
    AxisRange cuts;
    AxisRange differences;
};

// One quantity's Monte Carlo histogram, as a step outline over bins of its
// own, with its median and 68 % interval (kyr).
struct MonteCarloHistogram {
    std::string name;
    std::vector<PlotPoint> outline; // (kyr, draws in the bin), the bins' tops joined
    double median = 0.0;
    double p16 = 0.0, p84 = 0.0;
    AxisRange ages;  // x axis: the quantity's drawn values, kyr
    AxisRange draws; // y axis, draws per bin
};

// The Monte Carlo of a simulation: a histogram of exposure, burial and total
// age each, and the drawn samples (10Be, 26Al/10Be) as a cloud for the
// two-nuclide diagram.
struct MonteCarloPlot {
    std::string title;
    std::vector<MonteCarloHistogram> histograms; // exposure, burial, total
    std::vector<PlotPoint> cloud; // every drawn (10Be, 26Al/10Be)
};

// What one Plot button shows: the history, and for a simulation the other
// two, with the Monte Carlo after one was run.
struct PlotSet {
    ProxyHistoryPlot history;
    bool hasSimulation = false;
    TwoNuclidePlot twoNuclide;
    FitPlot fit;
    bool hasMonteCarlo = false;
    MonteCarloPlot monteCarlo;
};

// The stretches of a simulated history whose crossings (yr, youngest first)
// bound alternating intervals, the youngest exposure, the oldest
// [last crossing, total] burial when `oldestIsBurial`.
std::vector<HistoryStretch> AlternatingStretches(const std::vector<double>& crossings, bool oldestIsBurial,
                                                 double totalYears);

// The history of a curve after a successful cut (CutAtValue or CutAtYear):
// the stretches its walk recorded.
ProxyHistoryPlot MakeCutHistoryPlot(const CProxyCurve& curve);

// The best history of a simulation run that found one.
ProxyHistoryPlot MakeSimulationHistoryPlot(const SimulationDetail& detail);

// A constant exposure of `years` without erosion (burial/BurialModel.h).
PlotPoint ConstantExposurePoint(double be10Production, double al26Production, double years,
                                const HalfLives& halfLives = {});
// Steady state under erosion (cm/yr) (burial/BurialModel.h).
PlotPoint SteadyErosionPoint(double be10Production, double al26Production, double density, double freePath,
                             double erosion, const HalfLives& halfLives = {});

TwoNuclidePlot MakeTwoNuclidePlot(const SimulationInputs& inputs, const SimulationDetail& detail);
FitPlot MakeFitPlot(const SimulationDetail& detail);

// Bins of each Monte Carlo histogram across the values drawn of its quantity.
inline constexpr int kMonteCarloBins = 40;
MonteCarloPlot MakeMonteCarloPlot(const MonteCarloResult& result);

// All three plots of a simulation run that found a best fit.
PlotSet MakeSimulationPlots(const SimulationInputs& inputs, const SimulationDetail& detail);

} // namespace qex
