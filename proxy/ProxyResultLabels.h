#pragma once
// The rows that the proxy calculators' blocks share (the cut results, the
// simulation and its Monte Carlo), labelled as their lists have always
// printed them ("Bural Age(kyr)" included), with their CSV and JSON names.
// Ages are kept in years and listed in kyr.

#include "core/Constants.h"
#include "core/OutputTable.h"

#include <string_view>
#include <vector>

namespace qex {

inline constexpr std::string_view kCutValueLabel = "Cut Value";
inline constexpr std::string_view kRatioDifferenceLabel = "Ratio_diff(100%)";
inline constexpr std::string_view kExposureAgeLabel = "Exposure Age(kyr)";
inline constexpr std::string_view kBurialAgeLabel = "Bural Age(kyr)";
inline constexpr std::string_view kTotalAgeLabel = "Total Age(kyr)";

// An age (yr) listed in kyr; `format` places its label and value.
template <class Result>
OutputRow<Result> AgeRow(std::string_view label, std::string_view name, std::string_view format, double Result::*age)
{
    return {.label = label, .format = format, .name = name, .unit = "kyr", .scale = kYearsPerKyr, .field = age};
}

// "Intersect Numbers" and one "Intersect year(kyr) k" line per crossing.
template <class Result>
OutputRow<Result> CrossingsRow(int Result::*count)
{
    return {.kind = OutputKind::Count, .label = "Intersect Numbers", .format = "%s   :    %d", .name = "crossings",
            .field = count};
}
template <class Result>
OutputRow<Result> CrossingYearsRow(std::vector<double> Result::*years)
{
    return {.kind = OutputKind::Numbered, .label = "Intersect year(kyr)", .format = "%s %d:   %-10.3f",
            .name = "crossing_years_kyr", .unit = "kyr", .scale = kYearsPerKyr, .field = years};
}

} // namespace qex
