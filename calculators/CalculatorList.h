#pragma once
// The one list of QEX's calculators. qexcli's commands, the batch's
// calculators, the desktop's Calculators menu and help window, the test
// support and the man page's command list all follow it, in its order;
// a test fails when a calculator of the list is missing from any of them.
//
// Adding a calculator: its Inputs, InputTable, Result, OutputTable and
// Append (compute, then append) in its subsystem's folder, and one entry
// here (see README, "Adding a calculator").

#include "calculators/Calculator.h"

#include <string_view>
#include <vector>

namespace qex {

// The desktop's menu commands of the calculators.
enum CalculatorCommandId : int {
    ID_NORMALIZE_CURVE = 32771,
    ID_CUT_RESULTS = 32772,
    ID_WORLD_TABLE = 32773,
    ID_SCALING_FACTOR = 32797,
    ID_THICKNESS = 32799,
    ID_SHIELDING = 32801,
    ID_SLOPE_THICKNESS = 32802,
    ID_EXPOSURE_AGE = 32803,
    ID_SIMULATION = 32805,
    ID_BATCH = 32807,
    ID_TWO_NUCLIDE = 32808,
    ID_EROSION_RATE = 32810,
    ID_GROUP_SUMMARY = 32815,
    ID_CONVERT_SAMPLES = 32820,
    ID_BURIAL_AGE = 32821,
    ID_ISOCHRON_BURIAL = 32825,
};

// In qexcli's order: simulate, cut, scaling, world-table, thickness,
// slope-thickness, shielding, exposure, erosion, normalize, batch, convert,
// plot, summary, burial, isochron.
const std::vector<Calculator>& Calculators();

// Null when none has that name.
const Calculator* FindCalculator(std::string_view name);

} // namespace qex
