#pragma once
// The walks along a proxy curve count values below a cut as exposure, right
// for a benthic d18O stack, where high means ice. A curve where high means
// warm (sea level, an ice-core temperature or deltaD record) is read with
// every value negated, so that the same walks count its high values as
// exposure; its values and cut values are shown in its own units again.

#include "core/OutputTable.h"

#include <string>

namespace qex {

// Ends a block (and heads a report) computed on a curve read negated, so that
// a saved list or report says which side of its cut values was exposure.
inline constexpr const char* kExposureAboveCutLine = "Exposure above the cut (curve high = warm)";

// The closing line of a block on a curve read negated, as a constant the
// block names (JSON "exposure_above_cut": "on"); nothing otherwise.
inline Provenance ExposureAboveCutProvenance(bool exposureAboveCut)
{
    if (!exposureAboveCut)
        return {};
    return {{"exposure_above_cut", "", std::string("on"), std::string(kExposureAboveCutLine)}};
}

// A value between the curve's own units and the negated values the walks
// use, either way when `negated`. 0 - v rather than -v: a cut of zero shows
// as 0, never as -0.
inline double CurveValue(double value, bool negated)
{
    return negated ? 0.0 - value : value;
}

} // namespace qex
