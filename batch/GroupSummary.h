#pragma once
// The ages of a landform together: a batch output (CSV) read back, its rows
// grouped by a `group` or `landform` column (all rows one group without
// one), and per group the statistics of batch/GroupStatistics.h before and
// after the outliers a test names, with the transect line where the rows
// have an `elevation` or `distance`. The lines are the list's and
// `qexcli summary`'s alike.

#include "batch/BatchRun.h"
#include "batch/GroupStatistics.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"

#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace qex {

// Which columns of a batch output hold the values: exposure ages
// (exposure_age_yr with internal_uncertainty_yr and external_uncertainty_yr,
// listed in kyr) or erosion rates (erosion_rate_m_per_myr with
// erosion_internal_m_per_myr and erosion_external_m_per_myr).
struct SummaryQuantity {
    std::string_view what;     // "exposure age", "erosion rate"
    std::string_view column;   // the value's
    std::string_view internalColumn;
    std::string_view externalColumn;
    std::string_view unit;     // as listed
    double scale = 1.0;        // the listed value is the cell divided by it
};

// Where a transect's samples lie: elevation (m) or distance along the flow line (km).
struct TransectAxis {
    std::string_view column; // "elevation", "distance"; empty: no transect
    std::string_view unit;   // "m", "km"
    std::string_view rate;   // "Thinning rate", "Retreat rate"
};

struct GroupSample {
    std::string name; // printable (core/Format.h PrintableText), as the group's
    int line = 0; // of the output file
    GroupValue value;
    double position = std::numeric_limits<double>::quiet_NaN(); // NaN: none
};

struct GroupSummary {
    std::string name; // the group's cell; empty when the file has no group column
    std::vector<GroupSample> samples;
    std::vector<std::string> leftOut; // rows without a value, "NAME (line N): why"
    GroupStatistics all;
    std::vector<Outlier> outliers;
    std::vector<bool> kept; // per sample: not an outlier
    GroupStatistics withoutOutliers;
    bool transect = false; // the line below was fitted (two positions at least, not all alike)
    WeightedLine line;     // value against position, outliers left out
};

struct SummaryOptions {
    OutlierTest test = OutlierTest::Gesd;
    double alpha = 0.05; // the GESD's significance
};

struct SummaryTable {
    SummaryQuantity quantity;
    std::string groupColumn; // "group", "landform" or empty
    TransectAxis axis;
    SummaryOptions options;
    std::vector<GroupSummary> groups; // in the order their first rows come
};

// Reads a batch output's text. False, with why in `error`, for text that is
// not CSV, without the columns of ages or erosion rates, or without a single
// row that has a value.
bool ReadSummaryText(std::string_view text, const SummaryOptions& options, SummaryTable& table, std::string& error);
// The same from a file (regular files only), `error` naming it.
bool ReadSummaryFile(const std::string& path, const SummaryOptions& options, SummaryTable& table, std::string& error);
// The same from a batch just run.
bool SummarizeBatch(const BatchJob& job, const BatchOutcome& outcome, const SummaryOptions& options,
                    SummaryTable& table, std::string& error);

// The statistics and outliers of one group, by the table's options.
void SummarizeGroup(GroupSummary& group, const SummaryOptions& options, bool transect);

// The rate of the transect line (position per kyr) and its 1-sigma uncertainty.
struct TransectRate {
    double rate = 0.0;
    double sigma = 0.0;
};
TransectRate RateOf(const WeightedLine& line);

// A block per group: heading "Group Summary N" (N from the list's count),
// then the lines.
void AppendSummary(const SummaryTable& table, CResultList& list);
// Every group's values by name ("GROUP.weighted_mean"), for JSON.
std::vector<OutputValue> SummaryValues(const SummaryTable& table);

} // namespace qex
