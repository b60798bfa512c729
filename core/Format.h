#pragma once
// printf-style formatting into a std::string of whatever length the value
// needs: the system's line formats are C format strings, kept letter for letter.

#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>

namespace qex {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, std::va_list args);

// Appends the value exactly as printf's "%<width>.<precision>f" writes it in
// the C locale, but without printf's multi-precision arithmetic.
void AppendFixed(std::string& text, double value, int width, int precision);
// The same into [out, end); returns the end of what it wrote, or null (and
// nothing written) when it does not fit.
char* WriteFixed(char* out, char* end, double value, int width, int precision);

// A count with its thousands grouped by commas: 1234567 -> "1,234,567".
std::string GroupThousands(std::uint64_t value);

// Text from a file as a message may show it on a terminal: control
// characters (line ends, escape sequences, the C1 controls) and bytes that
// are not UTF-8 written as \n, \r, \t or \xHH, so that a sample's name can
// neither colour the terminal nor forge a line of its own; a backslash as \\.
std::string PrintableText(std::string_view text);

} // namespace qex
