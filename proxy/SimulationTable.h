#pragma once
// The per-cut-value table of a simulation run and the pairs of its best
// history as comma-separated values, for plotting elsewhere.

#include <string>

namespace qex {

struct SimulationDetail;

// Two tables, each under its own header row, separated by an empty line:
//   cut_value,calculated_ratio,abs_diff_percent,first_cut_age_yr,exposure_yr,burial_yr,matched,lower_limit
//     one row per cut value, in cut order (the report's columns, then 1 when
//     the history's simulated 10Be is the measured one, 0 when it is not);
//   pair,be10_atoms_per_g,al26_atoms_per_g,ratio
//     the best history's pairs numbered from 1, oldest first, the present last
//     (no rows when the run found no best fit).
std::string FormatSimulationTableCsv(const SimulationDetail& detail);

} // namespace qex
