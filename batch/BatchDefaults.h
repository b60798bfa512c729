#pragma once
// Values a batch takes for every row that does not give its own: the
// desktop's science settings (the half-lives it keeps under Options) and
// qexcli batch's --monte-carlo and --seed. Each fills the cell of the column
// of its name where a row leaves that cell out or empty; a row's own cell
// wins, and a name that is not a column of the calculator is ignored.

#include "batch/BatchRun.h"
#include "core/SettingValues.h"

#include <string>
#include <vector>

namespace qex {

void FillMissingCells(BatchJob& job, const SettingValues& values);

// The values a column of the calculator takes that differ from the column's
// default, "10Be half-life: 1387000 years", for the dialog to show.
std::vector<std::string> DescribeBatchSettings(const BatchCalculator& calculator, const SettingValues& values);

} // namespace qex
