#pragma once
// The figures of a group summary (batch/GroupSummary.h): the summed
// probability plot of a landform's ages (each sample's normal curve and
// their sum, normalised to unit area; the weighted mean with its band; the
// outliers drawn apart, dashed and left out of the sum) and the transect
// (age against elevation or distance with 1-sigma error bars, the weighted
// line with its 1-sigma band and the rate it gives).

#include "batch/GroupSummary.h"
#include "core/InputTable.h"
#include "figure/Figure.h"

#include <string>

namespace qex {

struct SummaryFigureInputs {
    std::string input;           // a batch output of exposure ages or erosion rates
    std::string outliers = "gesd"; // gesd, chauvenet or none
    double alpha = 0.05;         // the GESD's significance
};
const InputTable<SummaryFigureInputs>& SummaryFigureInputTable();

// Reads and summarises the input by the inputs' test. False, with why in
// `error`, as ReadSummaryFile refuses a file.
bool ReadSummaryFigureTable(const SummaryFigureInputs& inputs, SummaryTable& table, std::string& error);

// The probability plot of every group with values (the one named, when named).
figure::Figure MakeProbabilityFigure(const SummaryTable& table, const std::string& group = {});
// The transect of the groups with positions; false, with why in `error`,
// when the table has no elevation or distance column or no group two
// positions to fit a line through.
bool MakeTransectFigure(const SummaryTable& table, const std::string& group, figure::Figure& figure,
                        std::string& error);

} // namespace qex
