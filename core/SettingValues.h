#pragma once
// The science settings the desktop keeps (the half-lives today; any constant
// a user may choose tomorrow) as pairs of a calculator input's name and its
// value as text: "be10-half-life" -> "1387000". Each pair reaches a
// calculator through the row of its input table of that name, read as a
// qexcli option or a batch cell is read; a calculator without such a row
// ignores the pair. A new setting is therefore one more pair and one more row,
// and every dialog and the batch take it the same way.

#include "core/InputTable.h"

#include <string>
#include <utility>
#include <vector>

namespace qex {

struct SettingValue {
    std::string name;  // the input row's name ("be10-half-life")
    std::string value; // as typed on the command line ("1387000")
};
using SettingValues = std::vector<SettingValue>;

// Sets each setting's field through the row of its name; rows the table
// lacks are skipped. Empty on success, otherwise why the first refused
// value was refused, "be10-half-life: ..." (the others are still applied).
template <class Inputs>
std::string ApplySettings(const InputTable<Inputs>& table, Inputs& inputs, const SettingValues& settings)
{
    std::string refused;
    for (const SettingValue& setting : settings) {
        const InputRow<Inputs>* row = table.Find(setting.name);
        if (row == nullptr)
            continue;
        const std::string why = SetInputFromText(*row, inputs, setting.value);
        if (!why.empty() && refused.empty())
            refused = setting.name + ": " + why;
    }
    return refused;
}

} // namespace qex
