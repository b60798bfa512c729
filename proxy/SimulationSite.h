#pragma once
// The simulation's inputs that come from elsewhere than its dialog's boxes:
// the two production rates computed from the site instead of typed, the AMS
// standards of the two concentrations and the constant set, and the lines a
// block names them in.

#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "proxy/SimulationCalculation.h"

#include <string>

namespace qex {

// The production rates (atoms/g/yr) at the site of `inputs` (latitude,
// altitude, atmosphere, pressure, thickness, shield; density): the constant
// set's rates at sea level and high latitude scaled by Stone (2000) with
// each nuclide's muon share, the thickness factor with the latitude's
// attenuation length and the shielding. Empty, or why there are none.
struct SiteProductionRates {
    double be10 = 0.0;
    double al26 = 0.0;
};
std::string ComputeSiteProduction(const SimulationInputs& inputs, SiteProductionRates& rates);

// The simulation table's completion: with a latitude, the two production
// rates from the site (given rates are then refused; a site without
// production keeps why in siteError); the site's other inputs need the
// latitude, and the atmosphere its pressure.
std::string CompleteSimulationSite(SimulationInputs& inputs, const GivenInputs& given);

// False after a message when the site of the inputs gave no production rates
// (an altitude above the standard atmosphere, no production): the
// simulation then has no result.
bool SiteHasProduction(const SimulationInputs& inputs);

// The inputs with both concentrations and their uncertainties normalised from
// their AMS standards, as every run takes them.
SimulationInputs NormalisedSimulationInputs(const SimulationInputs& inputs);

// The constants a block was computed with: the half-lives, then the set, the
// standards and the site's production rates when they are not the defaults.
Provenance SimulationProvenance(const SimulationInputs& inputs);

} // namespace qex
