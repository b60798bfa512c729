#include "proxy/SimulationTable.h"

#include "core/Format.h"
#include "proxy/BurialExposureSimulation.h"

namespace qex {

std::string FormatSimulationTableCsv(const SimulationDetail& detail)
{
    // Ten significant digits keep every figure the report shows and more.
    std::string text = "cut_value,calculated_ratio,abs_diff_percent,first_cut_age_yr,exposure_yr,burial_yr,matched,lower_limit\n";
    for (const SimulationTableRow& row : detail.table)
        text += Format("%.10g,%.10g,%.10g,%.10g,%.10g,%.10g,%d,%d\n", row.cutValue, row.calculatedRatio,
                       row.ratioDifference, row.firstCutAge, row.exposure, row.burial, row.matched ? 1 : 0, row.lowerLimit ? 1 : 0);
    text += "\npair,be10_atoms_per_g,al26_atoms_per_g,ratio\n";
    if (detail.hasBestFit)
        for (std::size_t i = 0; i < detail.pairs.size(); ++i)
            text += Format("%d,%.10g,%.10g,%.10g\n", static_cast<int>(i + 1), detail.pairs[i].be10,
                           detail.pairs[i].al26, detail.pairs[i].ratio);
    return text;
}

} // namespace qex
