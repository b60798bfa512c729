#pragma once
// The science settings the desktop keeps, as the pairs of input name and
// value every dialog and the batch apply through their calculators' input
// tables (core/SettingValues.h): today the half-lives of "Options" >
// "Nuclide Half-lives...". A new setting is one more pair here and a row of
// that name in each calculator it concerns; nothing else changes.

#include "core/SettingValues.h"

namespace qex {

// The stored settings, each with the value a calculation is to take.
SettingValues StoredScienceSettings();

// Sets a dialog's inputs from the stored settings, before its calculation.
template <class Inputs>
void ApplyScienceSettings(const InputTable<Inputs>& table, Inputs& inputs)
{
    // The stored values were checked when they were read: none is refused.
    ApplySettings(table, inputs, StoredScienceSettings());
}

} // namespace qex
