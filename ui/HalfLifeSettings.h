#pragma once
// The half-lives the desktop's calculations decay 10Be and 26Al with, kept in
// the application's settings: the original ones until the user chooses
// others in "Nuclide Half-lives...". The simulation, the exposure age and the
// two-nuclide diagram read them at each calculation.

#include "core/HalfLives.h"

namespace qex {

// The stored half-lives; a value that is missing, not a number or outside
// the range a user may choose reads as the original one.
HalfLives StoredHalfLives();
void StoreHalfLives(const HalfLives& halfLives);

} // namespace qex
