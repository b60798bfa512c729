#include "core/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace qex {

std::string FormatV(const char* format, std::va_list args)
{
    char small[256];
    std::va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0)
        return std::string();
    if (static_cast<std::size_t>(needed) < sizeof small)
        return std::string(small, static_cast<std::size_t>(needed));
    std::vector<char> big(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(big.data(), big.size(), format, args);
    return std::string(big.data(), static_cast<std::size_t>(needed));
}

std::string Format(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::string text = FormatV(format, args);
    va_end(args);
    return text;
}

namespace {

// The fast way for the common case: a finite value whose scaled value
// v 10^p lies well below 2^52. The product is rounded once; fma gives its
// exact error, so unless the product lies within that error of a halfway
// point, the nearest integer to the product is the nearest integer to the
// exact scaled value, which is what printf rounds to. Null for the other
// cases (exact and near halfway points among them), left to the exact way;
// otherwise the end of the digits written (at most 40).
char* FixedDigitsQuickly(char* digits, double value, int precision)
{
    constexpr std::size_t kRoom = 40;
    static constexpr double kScales[] = {1.0, 10.0, 100.0, 1e3, 1e4, 1e5, 1e6};
    static constexpr std::uint64_t kIntegerScales[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    constexpr double kTwoTo52 = 4503599627370496.0;
    if (precision < 0 || precision > 6 || !std::isfinite(value))
        return nullptr;
    const double scale = kScales[precision];
    const double product = value * scale;
    if (!(std::fabs(product) < kTwoTo52))
        return nullptr;
    const double error = std::fma(value, scale, -product);
    const double nearest = std::nearbyint(product);
    if (!(0.5 - std::fabs(product - nearest) > std::fabs(error)))
        return nullptr;
    const auto scaled = static_cast<std::uint64_t>(std::fabs(nearest));
    char* end = digits;
    // printf writes the sign of every negative value, -0 and those that round to 0 included.
    if (std::signbit(value))
        *end++ = '-';
    end = std::to_chars(end, digits + kRoom, scaled / kIntegerScales[precision]).ptr;
    if (precision > 0) {
        *end++ = '.';
        std::uint64_t fraction = scaled % kIntegerScales[precision];
        for (int i = precision - 1; i >= 0; --i) {
            end[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        end += precision;
    }
    return end;
}

} // namespace

char* WriteFixed(char* out, char* end, double value, int width, int precision)
{
    char digits[400]; // the longest double in fixed notation has 309 digits before the point
    char* last = FixedDigitsQuickly(digits, value, precision);
    if (last == nullptr) {
        // std::to_chars with a precision gives the digits printf gives in the C
        // locale (both correctly rounded from the exact binary value), several
        // times faster: a report's thousand rows took a fifth of a run by printf.
        const auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, precision);
        if (result.ec != std::errc())
            return nullptr;
        last = result.ptr;
    }
    const auto length = last - digits;
    const auto padding = std::max<std::ptrdiff_t>(width - length, 0);
    if (end - out < padding + length)
        return nullptr;
    out = std::fill_n(out, padding, ' ');
    return std::copy(digits, last, out);
}

void AppendFixed(std::string& text, double value, int width, int precision)
{
    char line[512];
    if (char* end = WriteFixed(line, line + sizeof line, value, width, precision))
        text.append(line, end);
    else
        text += Format("%*.*f", width, precision, value);
}

std::string GroupThousands(std::uint64_t value)
{
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return grouped;
}

std::string PrintableText(std::string_view text)
{
    std::string shown;
    auto escape = [&shown](unsigned char c) {
        static const char digits[] = "0123456789abcdef";
        if (c == '\n')
            shown += "\\n";
        else if (c == '\r')
            shown += "\\r";
        else if (c == '\t')
            shown += "\\t";
        else
            shown += std::string("\\x") + digits[c >> 4] + digits[c & 15];
    };
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            shown += "\\\\";
            ++i;
        } else if (c < 0x20 || c == 0x7f) {
            escape(c);
            ++i;
        } else if (c < 0x80) {
            shown += static_cast<char>(c);
            ++i;
        } else {
            // A well-formed UTF-8 sequence is kept, unless it is a C1 control
            // (U+0080 to U+009F, which terminals may obey).
            const int length = c >= 0xf0 && c < 0xf5 ? 4 : c >= 0xe0 ? 3 : c >= 0xc2 ? 2 : 0;
            bool whole = length > 0 && c < 0xf5 && i + length <= text.size();
            for (int k = 1; whole && k < length; ++k)
                whole = (static_cast<unsigned char>(text[i + k]) & 0xc0) == 0x80;
            if (whole && length == 2 && c == 0xc2 && static_cast<unsigned char>(text[i + 1]) < 0xa0)
                whole = false;
            if (whole) {
                shown.append(text.substr(i, length));
                i += length;
            } else {
                escape(c);
                ++i;
            }
        }
    }
    return shown;
}

} // namespace qex
