#pragma once
// The command boundary: an index outside a data array, memory running out or
// threads that cannot be started abandon the current command with a message
// instead of ending the program.

#include <functional>

namespace qex {

// The text shown when a command is abandoned for an index error.
inline constexpr const char* kImproperArgumentMessage = "Encountered an improper argument.";
// ... when memory ran out, and when the system would not start a thread.
inline constexpr const char* kOutOfMemoryMessage = "Not enough memory for this calculation!";
inline constexpr const char* kNoThreadMessage = "Can not start the threads of this calculation!";

// Runs the command; returns false when it was abandoned.
bool RunGuarded(const std::function<void()>& command);

} // namespace qex
