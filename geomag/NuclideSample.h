#pragma once
// A measured sample as the exposure age and the erosion rate both take it:
// its site, the nuclide and its concentration (with the AMS standard it was
// measured against), the production rate at sea level and high latitude, the
// constant set and the atmosphere. From it, what both calculations start
// from: the normalised concentration, the production rate at the site and
// the decay constant.

#include "core/AmsStandards.h"
#include "core/ConstantSets.h"
#include "core/Constants.h"
#include "core/HalfLives.h"
#include "core/InputTable.h"
#include "core/OutputTable.h"
#include "scaling/Atmosphere.h"

#include <cmath>
#include <string>
#include <string_view>

namespace qex {

struct NuclideSample {
    double latitude = 34.33375;   // degrees north
    double altitude = 0.0;        // metres
    double thickness = 0.0;       // cm
    double density = 2.75;        // g/cm3
    double freePath = 150.0;      // attenuation length of the erosion term, g/cm2
    double shield = 1.0;          // topographic shielding factor
    double concentration = 2139000.0;  // atoms/g, as measured against its standard
    double concentrationError = 6000.0;
    double productionRate = kBe10SeaLevelProduction;           // sea level, high latitude, atoms/g/yr
    double productionRateError = kBe10SeaLevelProductionError;
    double be10HalfLife = kBe10HalfLifeYears; // yr
    double al26HalfLife = kAl26HalfLifeYears; // yr
    std::string nuclide = "be10";            // be10 or al26
    std::string be10Standard = std::string(kNoStandard);
    std::string al26Standard = std::string(kNoStandard);
    std::string constants = std::string(kOriginalConstants);
    std::string atmosphere = std::string(kStandardAtmosphere);
    double pressure = NAN;                   // hPa, with atmosphere "pressure" only
    bool uncertainties = false;              // list the internal and external uncertainties
};

// The rows of a sample, bound to the controls the exposure age dialog gives
// them (the erosion rate dialog uses the same ids); each calculator lists
// them in its own order among its other rows.
template <class In>
struct NuclideSampleRows {
    InputRow<In> latitude, altitude, thickness, density, freePath, shield;
    InputRow<In> concentration, concentrationError, productionRate, productionRateError;
    InputRow<In> be10HalfLife, al26HalfLife, nuclide, be10Standard, al26Standard, constants, atmosphere, pressure,
        uncertainties;
};

template <class In>
NuclideSampleRows<In> MakeNuclideSampleRows(std::string_view freePathHelp, std::string_view shieldHelp)
{
    using S = NuclideSample;
    return {
        .latitude = {.name = "latitude", .controlId = 1021, .member = "m_dLatitude", .label = "Site latitude",
                     .unit = "degrees", .field = &S::latitude, .range = InputRange{-90.0, 90.0},
                     .help = "north positive"},
        .altitude = {.name = "altitude", .controlId = 1023, .member = "m_dAltitude", .label = "Site altitude",
                     .unit = "m", .field = &S::altitude, .range = InputRange{0.0, 100000.0}},
        .thickness = {.name = "thickness", .controlId = 1024, .member = "m_dThickness", .label = "Sample thickness",
                      .unit = "cm", .field = &S::thickness, .range = InputRange{0.0, 1000.0}},
        .density = {.name = "density", .controlId = 1025, .member = "m_dDensity", .label = "Rock density",
                    .unit = "g/cm3", .field = &S::density, .range = InputRange{0.0, 10.0}},
        .freePath = {.name = "free-path", .controlId = 1026, .member = "m_dFreePath", .label = "Attenuation length",
                     .unit = "g/cm2", .field = &S::freePath, .range = InputRange{0.0, 200.0}, .help = freePathHelp},
        .shield = {.name = "shield", .controlId = 1027, .member = "m_dShield", .label = "Topographic shielding factor",
                   .boxUnit = "fraction 0–1", .field = &S::shield, .range = InputRange{0.0, 1.0}, .help = shieldHelp},
        .concentration = {.name = "concentration", .controlId = 1016, .member = "m_dN",
                          .label = "Measured concentration", .unit = "atoms/g", .field = &S::concentration,
                          .range = InputRange{0.0, 1e9}, .help = "of the nuclide, 10Be unless nuclide says al26"},
        .concentrationError = {.name = "concentration-err", .controlId = 1017, .member = "m_dDelN",
                               .label = "Uncertainty of the concentration", .unit = "atoms/g",
                               .field = &S::concentrationError, .range = InputRange{0.0, 1000000.0}},
        .productionRate = {.name = "production-rate", .controlId = 1019, .member = "m_dP", .label = "Production rate",
                           .unit = "atoms/g/yr", .field = &S::productionRate, .range = InputRange{0.0, 10000.0},
                           .help = "of the nuclide at sea level and high latitude; by default the constant set's "
                                   "(original 5.1 for 10Be, 31.1 for 26Al)"},
        .productionRateError = {.name = "production-rate-err", .controlId = 1020, .member = "m_dDelP",
                                .label = "Uncertainty of the production rate", .unit = "atoms/g/yr",
                                .field = &S::productionRateError, .range = InputRange{0.0, 100.0},
                                .help = "by default the constant set's (original 0.3 for 10Be, 1.8 for 26Al)"},
        .be10HalfLife = Be10HalfLifeRow<In>(&S::be10HalfLife),
        .al26HalfLife = Al26HalfLifeRow<In>(&S::al26HalfLife),
        .nuclide = NuclideRow<In>(&S::nuclide),
        .be10Standard = AmsStandardRow<In>(kBe10, &S::be10Standard),
        .al26Standard = AmsStandardRow<In>(kAl26, &S::al26Standard),
        .constants = ConstantsRow<In>(&S::constants),
        .atmosphere = AtmosphereRow<In>(&S::atmosphere),
        .pressure = PressureRow<In>(&S::pressure),
        .uncertainties = {.name = "uncertainties", .label = "Internal and external uncertainties",
                          .kind = InputKind::Flag, .field = &S::uncertainties,
                          .help = "listed after the result (always with a constant set other than original)",
                          .listedAtDefault = false},
    };
}

// What a sample's calculation starts from.
struct SampleProduction {
    NuclideKind nuclide = kBe10;
    Concentration concentration; // normalised to the standard of the production rate, atoms/g
    double rate = 0.0;           // at the site, atoms/g/yr
    double rateError = 0.0;      // atoms/g/yr
    double decayConstant = 0.0;  // 1/yr
};

// The nuclide's half-life (yr) as the sample gives it.
double SampleHalfLife(const NuclideSample& sample);
// The concentration and its uncertainty normalised from the sample's standard.
Concentration NormalisedConcentration(const NuclideSample& sample);
// Whether the site's atmosphere has a pressure (it has none above the top of
// the standard atmosphere, about 44331 m); a message naming `result` when not.
bool SiteHasPressure(const NuclideSample& sample, std::string_view result);

// Normalises the concentration and scales the production rate to the site
// (Stone 2000 with the nuclide's muon share, the thickness factor with the
// latitude's attenuation length, the shielding). False after a message
// naming `result` ("exposure age") when the site has no production: an
// altitude above the top of the standard atmosphere, or zero production.
bool PrepareSample(const NuclideSample& sample, std::string_view result, SampleProduction& prepared);

// Whether the uncertainties are listed: asked for, or a set other than the original.
bool ListsUncertainties(const NuclideSample& sample);

// The constants a sample's result was computed with: the half-lives (as every
// block that decays a nuclide names them), then what is not the default: the
// set, the nuclide, its standard, the atmosphere.
Provenance SampleProvenance(const NuclideSample& sample);

// Inputs of a sample that do not go together (the atmosphere and the pressure).
std::string CheckSample(const NuclideSample& sample);

} // namespace qex
