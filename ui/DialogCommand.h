#pragma once
// What every button press of a calculator dialog does around its work: a busy
// cursor while it runs, each warning text shown once per press, and an index
// error abandoning the press with a message rather than ending the program.

#include <functional>

namespace qex {

// Returns false when the command was abandoned.
bool RunDialogCommand(const std::function<void()>& command, bool busyCursor = true);

} // namespace qex
