#pragma once
// The desktop's message sink: a modal box captioned "QEX" with an OK button.

namespace qex {

void InstallMessageBoxSink();

} // namespace qex
