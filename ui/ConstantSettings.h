#pragma once
// The constant set the desktop's calculations start from and whether the
// exposure age lists its uncertainties, kept in the application's settings
// beside the half-lives: "original" and off until the user chooses otherwise
// in "Options > Constants..." and the exposure dialog.

#include <string>

namespace qex {

// The stored set's name; a missing or unknown one reads as "original".
std::string StoredConstantSet();
void StoreConstantSet(const std::string& name);

bool StoredUncertainties();
void StoreUncertainties(bool listed);

} // namespace qex
