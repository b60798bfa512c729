#pragma once
// Reading a typed or file-held number strictly: the whole text (blanks around
// it aside) must be one finite decimal number.

#include <string_view>

namespace qex {

// True and the value when `text` is one finite decimal number such as "12.7",
// "-0", "+5" or "1e3"; false for empty text, trailing words, "nan" or "inf".
bool ParseNumber(std::string_view text, double& value);

// The C runtime's text-to-number conversion (atof): the leading number, 0 when
// there is none. Horizon points typed as text are read this way.
double TextToNumberOrZero(std::string_view text);

} // namespace qex
