#pragma once
// The burial-exposure simulation: for a sample's measured 10Be and 26Al and a
// climatic proxy curve, the cut value whose history of exposure (below the
// cut) and burial (above it) best explains the measured 26Al/10Be ratio.

#include "proxy/BurialExposureWalk.h"

#include <string>
#include <vector>

namespace qex {

// One row of the per-cut-value table: the report's columns as numbers.
struct SimulationTableRow {
    double cutValue = 0.0;        // proxy units
    double calculatedRatio = 0.0; // simulated 26Al/10Be
    double ratioDifference = 0.0; // ABS_diff, percent
    double firstCutAge = 0.0;     // youngest crossing, yr (0 without crossings)
    double exposure = 0.0;        // yr
    double burial = 0.0;          // yr
    bool matched = false;         // its simulated 10Be is the measured one
    bool lowerLimit = false;      // matched, and its total a lower limit
};

// Everything a run found, as plain data for plots and tables. Filled only
// when a caller asks for it.
struct SimulationDetail {
    std::string curveName;      // the one-word name of the curve's header
    std::vector<double> years;  // the curve as walked (point 0 is the present), yr
    std::vector<double> values; // its proxy values, in the curve's own units
    double measuredRatio = 0.0;
    double productionRatio = 0.0;
    double minimumExposure = 0.0; // yr
    std::vector<SimulationTableRow> table; // one row per cut value, in cut order

    bool hasBestFit = false;
    double bestCutValue = 0.0;
    double totalTime = 0.0;           // yr, where the best history begins
    std::vector<double> crossings;    // every crossing bounding its intervals, youngest first
    bool oldestIsBurial = false;      // its oldest interval [last crossing, total] is burial
    std::vector<NuclidePair> pairs;   // its simulated states, oldest first, the present last
};

// Runs the simulation and writes the report file (whole or not at all).
// Concentrations in atoms/g, production rates in atoms/g/yr, density in
// g/cm3, free path in g/cm2, erosion rates in cm/yr. Returns 1 with the best
// fit in the outputs (ages in yr), or 0 when there is no usable result; the
// outputs are then left as they were. Messages go through ShowMessage.
int SimulateBurialExposure(std::string proxyPath, std::string reportPath, double be10Concentration,
                           double be10Production, double al26Concentration, double al26Production, double density,
                           double freePath, double aerialErosion, double glacialErosion, double& exposureTime,
                           double& burialTime, double& totalTime, double& ratioDifference, double& cutValue,
                           std::vector<double>& cuttingAges, int& cuttingNumber, double& calculatedRatio,
                           SimulationDetail* detail = nullptr);

} // namespace qex
