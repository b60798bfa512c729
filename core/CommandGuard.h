#pragma once
// The command boundary: an index outside a data array abandons the current
// command with a message instead of ending the program.

#include <functional>

namespace qex {

// The text shown when a command is abandoned for an index error.
inline constexpr const char* kImproperArgumentMessage = "Encountered an improper argument.";

// Runs the command; returns false when it was abandoned.
bool RunGuarded(const std::function<void()>& command);

} // namespace qex
