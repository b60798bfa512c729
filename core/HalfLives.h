#pragma once
// The half-lives of 10Be and 26Al that a calculation decays its nuclides
// with: the original ones unless the user chooses others (today's, for
// instance). Each calculator that decays a nuclide takes them as two rows of
// its input table; a block computed with other half-lives ends by naming
// them, so that a saved list always says which constants made it.

#include "core/Constants.h"
#include "core/InputTable.h"
#include "core/OutputTable.h"

#include <string>
#include <string_view>
#include <vector>

namespace qex {

// The half-lives a user may choose (yr).
inline constexpr InputRange kHalfLifeRange{100000.0, 100000000.0};

// The rows of the two half-lives (yr) for a calculator whose inputs hold them
// in `field`; bound to a dialog's edit box when `controlId` is not 0.
template <class Inputs>
InputRow<Inputs> Be10HalfLifeRow(double Inputs::*field, int controlId = 0, std::string_view member = {})
{
    return {.name = "be10-half-life", .controlId = controlId, .member = member, .label = "10Be half-life",
            .unit = "years", .field = field, .range = kHalfLifeRange,
            .help = "1387000 today (Chmeleff et al. 2010; Korschinek et al. 2010)"};
}
template <class Inputs>
InputRow<Inputs> Al26HalfLifeRow(double Inputs::*field, int controlId = 0, std::string_view member = {})
{
    return {.name = "al26-half-life", .controlId = controlId, .member = member, .label = "26Al half-life",
            .unit = "years", .field = field, .range = kHalfLifeRange, .help = "705000 today (Nishiizumi 2004)"};
}

// A pair of half-lives (yr): what a calculation decays with, and what the
// desktop keeps in its settings and edits in its dialog.
struct HalfLives {
    double be10 = kBe10HalfLifeYears; // yr
    double al26 = kAl26HalfLifeYears; // yr
};
// The desktop's dialog of the two.
const InputTable<HalfLives>& HalfLifeInputTable();

// The half-lives as the constants a result was computed with. With others
// than the original ones, both end the block in lines of their own,
// "Half-life 10Be(yr)  :   1387000" and the same for 26Al.
Provenance HalfLifeProvenance(const HalfLives& halfLives);

} // namespace qex
