#pragma once
// One Calculate of the cut results: load a proxy curve, cut it at a value or at
// the value it has at a year, and append the ages and crossings to a results
// list. The dialog and `qexcli cut` both call this.

#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "core/ResultList.h"
#include "proxy/PlotData.h"

#include <string>
#include <vector>

namespace qex {

// The cut results dialog's inputs with their defaults; ranges in the table.
struct CutInputs {
    std::string path;             // proxy curve file
    bool cutByAge = true;         // cut at the value the curve has at cutAge
    double cutAge = 9700.0;       // years before present
    double cutValue = 3.7;        // proxy units
    double exposureAge = 25000.0; // years
    bool exposureAboveCut = false; // the curve's high values count as exposure (it is read negated)
};
// qexcli cuts by value when --cut-value is given: the cut-by-age box is the dialog's alone.
const InputTable<CutInputs>& CutInputTable();

enum class CutOutcome {
    Result,        // a result block was appended
    NoValidResult, // the failure's block was appended
    Stopped,       // nothing appended: no path, or the curve did not load (message shown)
};

// The line that says the cut gave no result; it carries its own line feed.
inline constexpr const char* kNoValidResultsLine = "Calculation doesn't have valid results\n";
// A cut without a result is listed under a heading of its own, so that a
// saved list cannot make it look like part of the block before it: the
// heading, the no-valid-results line and the reason. It is no result: the
// result count does not change.
inline constexpr const char* kCutFailureHeading = "Calculation Failed";
std::vector<std::string> CutFailureLines(const std::string& reason);

// The block of a cut: ages (yr, listed in kyr), the cut value in the curve's
// own units, and the crossing years (yr, listed in kyr), youngest first.
struct CutResult {
    double exposure = 0.0, burial = 0.0, total = 0.0;
    double cutValue = 0.0;
    int crossings = 0;
    std::vector<double> crossingYears;
    Provenance constants; // a curve read with exposure above the cut
};
const OutputTable<CutResult>& CutOutputTable();

// With `plot`, a result also gives the curve, the cut and its history for the
// plot window; with `blocks`, its values; with `failure`, a cut without a
// result gives its reason ("6 is above the curve's maximum 5.08").
CutOutcome AppendCutResults(const CutInputs& inputs, CResultList& list, ProxyHistoryPlot* plot = nullptr,
                            COutputBlocks* blocks = nullptr, std::string* failure = nullptr);

class CProxyCurve;
// The same on a curve already loaded (inputs.path is not read; the curve's
// own orientation holds, not inputs.exposureAboveCut).
CutOutcome AppendCutResults(CProxyCurve& curve, const CutInputs& inputs, CResultList& list,
                            ProxyHistoryPlot* plot = nullptr, COutputBlocks* blocks = nullptr,
                            std::string* failure = nullptr);

} // namespace qex
