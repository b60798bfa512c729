#pragma once
// The AMS standards a 10Be or 26Al concentration may have been measured
// against, each with the factor that normalises it to the standard the
// current production rates are calibrated for: 07KNSTD for 10Be (Nishiizumi
// et al. 2007) and KNSTD for 26Al (Nishiizumi 2004), as the field's
// calculators tabulate them. A concentration and its uncertainty are
// multiplied by the factor before anything else.

#include "core/Constants.h"
#include "core/InputTable.h"
#include "core/OutputTable.h"

#include <span>
#include <string>
#include <string_view>

namespace qex {

struct AmsStandard {
    std::string_view name;
    double factor; // to 07KNSTD (10Be) or KNSTD (26Al)
};

// The standards of a nuclide (kBe10 or kAl26), in the table's order.
std::span<const AmsStandard> AmsStandards(NuclideKind nuclide);
// The standard of that name in any case; null when the nuclide has none of it.
const AmsStandard* FindAmsStandard(NuclideKind nuclide, std::string_view name);

// No conversion: the default of the standard rows, a concentration taken as it is.
inline constexpr std::string_view kNoStandard = "none";
// The words a standard row takes: "none", then the nuclide's standards.
std::span<const std::string_view> AmsStandardChoices(NuclideKind nuclide);

// A concentration and its uncertainty (atoms/g) normalised from the named
// standard ("none": unchanged).
struct Concentration {
    double value = 0.0;
    double error = 0.0;
};
Concentration NormaliseConcentration(NuclideKind nuclide, std::string_view standard, Concentration measured);

// The row of a nuclide's standard ("be10-standard", "al26-standard"), kept in `field`.
template <class Inputs>
InputRow<Inputs> AmsStandardRow(NuclideKind nuclide, std::string Inputs::*field, int controlId = 0,
                                std::string_view member = {})
{
    const bool al26 = nuclide == kAl26;
    return {.name = al26 ? "al26-standard" : "be10-standard", .controlId = controlId, .member = member,
            .label = al26 ? "26Al AMS standard" : "10Be AMS standard", .kind = InputKind::Choice, .field = field,
            .help = al26 ? "the 26Al concentration and its uncertainty are normalised to KNSTD first; none: as given"
                         : "the 10Be concentration and its uncertainty are normalised to 07KNSTD first; none: as given",
            .choices = AmsStandardChoices(nuclide), .listedAtDefault = false};
}

// The standard a concentration was normalised from, as a constant of the
// result: "10Be standard  :   KNSTD (x 0.9042 to 07KNSTD)"; nothing for "none".
void AddAmsStandardProvenance(Provenance& provenance, NuclideKind nuclide, std::string_view standard);

} // namespace qex
