#pragma once
// Every calculator's input table, for the tests that loop over them all.

#include "burial/BurialAgeCalculator.h"
#include "batch/IsochronCalculation.h"
#include "corrections/ShieldingResult.h"
#include "corrections/SlopeThicknessCorrection.h"
#include "corrections/ThicknessCorrection.h"
#include "geomag/ErosionRate.h"
#include "geomag/ExposureAgeResult.h"
#include "proxy/CutResults.h"
#include "proxy/SimulationCalculation.h"
#include "scaling/ScalingFactorBlock.h"
#include "scaling/WorldTable.h"

#include <string>

namespace qex::test {

// Calls visit(command, table) with each table and the qexcli command that reads it.
template <class Visit>
void ForEveryInputTable(Visit&& visit)
{
    visit(std::string("simulate"), SimulationInputTable());
    visit(std::string("cut"), CutInputTable());
    visit(std::string("scaling"), ScalingInputTable());
    visit(std::string("world-table"), WorldTableInputTable());
    visit(std::string("thickness"), ThicknessInputTable());
    visit(std::string("slope-thickness"), SlopeThicknessInputTable());
    visit(std::string("shielding"), ShieldingInputTable());
    visit(std::string("shielding"), HorizonPointInputTable());
    visit(std::string("exposure"), ExposureInputTable());
    visit(std::string("erosion"), ErosionInputTable());
    visit(std::string("burial"), BurialAgeInputTable());
    visit(std::string("isochron"), IsochronInputTable());
}

// A value a little beyond a bound, written so that it reads back beyond it.
inline double JustOutside(double bound, double direction)
{
    const double step = bound == 0.0 ? 1e-9 : (bound < 0.0 ? -bound : bound) * 1e-9;
    return bound + direction * step;
}

} // namespace qex::test
