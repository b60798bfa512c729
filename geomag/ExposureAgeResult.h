#pragma once
// One Calculate of the surface exposure age dialog, shared with qexcli
// exposure: the inputs, their defaults and ranges, and the appended block:
// the 10Be or 26Al exposure age of a sample with decay and steady erosion.

#include "core/Constants.h"
#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"
#include "geomag/NuclideSample.h"

#include <string>

namespace qex {

// The sample (geomag/NuclideSample.h) and what the exposure age adds: the
// site's longitude, the erosion rate and the geomagnetic correction.
struct ExposureInputs : NuclideSample {
    double longitude = 77.35;     // degrees east
    double erosion = 0.0;         // cm/yr
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
};

const InputTable<ExposureInputs>& ExposureInputTable();

// The block: the age (years); with uncertainties listed, the internal and
// external ones (years); then the constants that are not the defaults.
struct ExposureResult {
    double age = 0.0; // yr
    Provenance constants;
    bool uncertainties = false;
    double internal = 0.0; // yr, from the concentration's uncertainty
    double external = 0.0; // yr, adding the production rate's
};
const OutputTable<ExposureResult>& ExposureOutputTable();

// Computes the exposure age (with the geomagnetic correction when asked,
// which also writes the scratch table) and appends its block (its values to
// `blocks` when given). A calculation without a result shows its message and
// appends nothing; returns whether a block was appended.
bool AppendExposureAge(const ExposureInputs& inputs, CResultList& list, COutputBlocks* blocks = nullptr);

} // namespace qex
