#pragma once
// One Calculate of the surface exposure age dialog, shared with qexcli
// exposure: the inputs, their defaults and ranges, and the appended block.

#include "core/Constants.h"
#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"

#include <string>

namespace qex {

struct ExposureInputs {
    double latitude = 34.33375;   // degrees north
    double longitude = 77.35;     // degrees east
    double altitude = 0.0;        // metres
    double thickness = 0.0;       // cm
    double density = 2.75;        // g/cm3
    double freePath = 150.0;      // attenuation length, g/cm2
    double shield = 1.0;          // topographic shielding factor
    double erosion = 0.0;         // cm/yr
    double concentration = 2139000.0;  // 10Be, atoms/g
    double concentrationError = 6000.0;
    double productionRate = kBe10SeaLevelProduction;           // sea level, high latitude, atoms/g/yr
    double productionRateError = kBe10SeaLevelProductionError;
    bool magneticCorrection = false;
    // The geomagnetic records and the scratch table (the dialog's are bare
    // names in the working folder).
    std::string polePath = "pole02.dat";
    std::string intensityPath = "pmagstack1.dat";
    std::string tablePath = "omr.txt";
    // Whether a record missing from the working folder under its fixed name
    // is read from the installed copy of the bundled one (always in the
    // dialog; in qexcli when no path was given).
    bool poleMayBeInstalled = true;
    bool intensityMayBeInstalled = true;
    double be10HalfLife = kBe10HalfLifeYears; // yr
    double al26HalfLife = kAl26HalfLifeYears; // yr; no part of a 10Be age, named with it in the block
};

const InputTable<ExposureInputs>& ExposureInputTable();

// The block: the age (years), then the half-lives when they are not the
// original ones.
struct ExposureResult {
    double age = 0.0; // yr
    Provenance constants;
};
const OutputTable<ExposureResult>& ExposureOutputTable();

// Computes the 10Be exposure age (with the geomagnetic correction when asked,
// which also writes the scratch table) and appends its block (its values to
// `blocks` when given). A calculation without a result shows its message and
// appends nothing; returns whether a block was appended.
bool AppendExposureAge(const ExposureInputs& inputs, CResultList& list, COutputBlocks* blocks = nullptr);

} // namespace qex
