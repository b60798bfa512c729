#pragma once
// The desktop's message sink: a modal box captioned "QEX" with an OK button,
// above every other window of the program while it is open.

namespace qex {

void InstallMessageBoxSink();

} // namespace qex
