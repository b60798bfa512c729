#pragma once
// The sets of constants a calculation can be made with, kept as data in one
// place, each value with its source: `original`, the constants QEX has always
// used (its defaults), and `current`, today's (the half-lives measured since
// 2004 and the production rates of the CRONUS-Earth calibration, normalised
// to the 07KNSTD and KNSTD AMS standards).
//
// A calculator takes a set through the input row "constants". Completing its
// inputs (CompleteInputs) gives every input the set governs, and that the
// user did not give, the set's value: the half-lives ("be10-half-life",
// "al26-half-life"), the attenuation length ("free-path") and the production
// rate at sea level and high latitude of the chosen nuclide
// ("production-rate", "production-rate-err"; "nuclide" be10 or al26). An
// input the user gave keeps its value: an explicit option overrides the set.

#include "core/Constants.h"
#include "core/Format.h"
#include "core/InputTable.h"
#include "core/OutputTable.h"

#include <cmath>
#include <span>
#include <string>
#include <string_view>

namespace qex {

// A constant with its one-sigma uncertainty (0 where the set gives none) and
// where it comes from.
struct SourcedValue {
    double value = 0.0;
    double error = 0.0;
    std::string_view source;
};

struct ConstantSet {
    std::string_view name;        // as the option takes it: "original", "current"
    std::string_view description; // one line for the help and the dialog
    SourcedValue be10HalfLife;    // yr
    SourcedValue al26HalfLife;    // yr
    // Total (spallation and muon) production at sea level and high latitude
    // for the Stone (2000) scaling (atoms/g/yr), and the AMS standard the
    // concentrations must be normalised to for it.
    SourcedValue be10Production;
    SourcedValue al26Production;
    std::string_view be10Standard;
    std::string_view al26Standard;
    // Attenuation length of the erosion term and of the simulation (g/cm2).
    SourcedValue attenuationLength;
};

// The sets, `original` first.
std::span<const ConstantSet> ConstantSets();
// The set of that name in any case; null when there is none.
const ConstantSet* FindConstantSet(std::string_view name);
// The names, for the "constants" row's choices.
std::span<const std::string_view> ConstantSetNames();
inline constexpr std::string_view kOriginalConstants = "original";

// The nuclides a calculator can be asked for, for its "nuclide" row: be10 (the
// default) and al26.
std::span<const std::string_view> NuclideNames();
// kAl26 for "al26", kBe10 for anything else.
NuclideKind NuclideOfName(std::string_view name);
// "10Be" or "26Al".
std::string_view NuclideSymbol(NuclideKind nuclide);

// The row of the set a calculator takes, kept in `field`.
template <class Inputs>
InputRow<Inputs> ConstantsRow(std::string Inputs::*field, int controlId = 0, std::string_view member = {})
{
    return {.name = "constants", .controlId = controlId, .member = member, .label = "Constant set",
            .kind = InputKind::Choice, .field = field,
            .help = "original: the half-lives, production rates and attenuation length QEX has always used; "
                    "current: today's (10Be 1.387 Myr, 26Al 9.83e-7/yr, St production 4.01 and 27.9 atoms/g/yr "
                    "for 07KNSTD and KNSTD, 160 g/cm2); an option given explicitly overrides its value in the set",
            .choices = ConstantSetNames(), .listedAtDefault = false};
}

// The row of the nuclide a calculator dates, kept in `field`.
template <class Inputs>
InputRow<Inputs> NuclideRow(std::string Inputs::*field, int controlId = 0, std::string_view member = {})
{
    return {.name = "nuclide", .controlId = controlId, .member = member, .label = "Nuclide", .kind = InputKind::Choice,
            .field = field,
            .help = "of the concentration: be10 or al26, each with its own production rate, muon share and half-life",
            .choices = NuclideNames(), .listedAtDefault = false};
}

// No input given (a fresh dialog), and every input given (a dialog's boxes).
bool NoInputGiven(std::string_view name);
bool EveryInputGiven(std::string_view name);

// Sets each input a constant set governs that `given` does not name to the
// value of the set the inputs choose (their "constants" row), for the nuclide
// they date (their "nuclide" row; 10Be without one). A table without a
// "constants" row is left alone.
template <class Inputs>
void ApplyConstantSet(const InputTable<Inputs>& table, Inputs& inputs, const GivenInputs& given)
{
    const InputRow<Inputs>* choice = table.Find("constants");
    if (choice == nullptr)
        return;
    const ConstantSet* set = FindConstantSet(InputValueText(*choice, inputs));
    if (set == nullptr)
        return;
    const InputRow<Inputs>* nuclideRow = table.Find("nuclide");
    const NuclideKind nuclide = nuclideRow != nullptr ? NuclideOfName(InputValueText(*nuclideRow, inputs)) : kBe10;
    const SourcedValue& production = nuclide == kAl26 ? set->al26Production : set->be10Production;
    const std::pair<std::string_view, double> values[] = {
        {"be10-half-life", set->be10HalfLife.value},   {"al26-half-life", set->al26HalfLife.value},
        {"free-path", set->attenuationLength.value},   {"production-rate", production.value},
        {"production-rate-err", production.error},
    };
    for (const auto& [name, value] : values) {
        const InputRow<Inputs>* row = table.Find(name);
        if (row == nullptr || given(name))
            continue;
        if (const auto* number = std::get_if<double Inputs::*>(&row->field))
            inputs.**number = value;
    }
}

// Completes a calculator's inputs once they are read: the constant set's
// values for the inputs not given, then the table's own completion (inputs
// derived from others, inputs that need or exclude each other). Empty, or
// why the inputs cannot be calculated.
template <class Inputs>
std::string CompleteInputs(const InputTable<Inputs>& table, Inputs& inputs, const GivenInputs& given)
{
    ApplyConstantSet(table, inputs, given);
    return table.Complete(inputs, given);
}

// The set as a constant a result was computed with: a line "Constants  :
// current" when it is not the original one, nothing otherwise.
void AddConstantSetProvenance(Provenance& provenance, std::string_view set);

} // namespace qex
