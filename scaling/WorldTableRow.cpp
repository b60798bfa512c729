#include "scaling/WorldTableRow.h"

#include "scaling/ScalingSchemes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace qex {

namespace {

// Beyond this magnitude (or for NaN and infinities) the row goes through printf.
constexpr double kFastFormatLimit = 1e9;

// Appends `value` as printf's "%<width>.<precision>f" would, for a finite
// |value| below kFastFormatLimit and precision 2 or 4: the exact binary value
// rounded to nearest, exact ties to even.
void AppendFixed(char*& out, double value, int width, int precision)
{
    const double scale = precision == 2 ? 100.0 : 10000.0;
    const double magnitude = std::fabs(value);
    const double scaled = magnitude * scale; // below 2^53, so the next two steps are exact
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    // Halfway points are doubles here, and the product lies within half an ulp
    // of the exact one, so it falls on the same side of every halfway point
    // unless it lands on one; then the product's rounding error decides.
    bool roundUp = fraction > 0.5;
    if (fraction == 0.5) {
        const double error = std::fma(magnitude, scale, -scaled);
        roundUp = error > 0.0 || (error == 0.0 && std::fmod(whole, 2.0) != 0.0);
    }
    const auto units = static_cast<std::uint64_t>(whole) + (roundUp ? 1u : 0u);

    // Digits from the right: the fraction, the point, the integer part, the sign.
    char digits[40];
    char* end = digits + sizeof digits;
    char* p = end;
    std::uint64_t rest = units;
    for (int i = 0; i < precision; ++i) {
        *--p = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    *--p = '.';
    do {
        *--p = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (std::signbit(value))
        *--p = '-'; // printf keeps the sign of a negative value that rounds to zero
    const auto length = static_cast<int>(end - p);
    for (int i = length; i < width; ++i)
        *out++ = ' ';
    out = std::copy(p, end, out);
}

void AppendSeparator(char*& out)
{
    *out++ = ',';
    *out++ = ' ';
    *out++ = ' ';
}

} // namespace

WorldTableRow ComputeWorldTableRow(double latitude, double altitude, double pressure, double muonFraction)
{
    WorldTableRow row{};
    row.latitude = latitude;
    row.altitude = altitude;
    row.stone = StoneScalingFactor(latitude, pressure, muonFraction);
    row.lalBe = LalBeScalingFactor(latitude, altitude);
    row.lalAl = LalAlScalingFactor(latitude, altitude);
    row.dunai = DunaiScalingFactor(latitude, altitude, muonFraction);
    // The 26Al factor enters no difference.
    row.diffSL = std::fabs(row.stone - row.lalBe);
    row.diffSD = std::fabs(row.stone - row.dunai);
    row.diffLD = std::fabs(row.lalBe - row.dunai);
    row.maxDiff = std::max({row.diffSL, row.diffSD, row.diffLD});
    row.percentS = row.maxDiff / row.stone * 100.0;
    return row;
}

std::size_t FormatWorldTableRow(const WorldTableRow& row, char* buffer)
{
    struct Field {
        double value;
        int width;
        int precision;
    };
    const Field fields[] = {
        {row.latitude, 8, 2}, {row.altitude, 8, 2}, {row.stone, 9, 4},  {row.lalBe, 9, 4},
        {row.lalAl, 9, 4},    {row.dunai, 9, 4},    {row.diffSL, 7, 4}, {row.diffSD, 7, 4},
        {row.diffLD, 7, 4},   {row.maxDiff, 8, 4},  {row.percentS, 9, 2},
    };
    char* out = buffer;
    bool fast = true;
    for (const Field& field : fields) {
        if (!(std::fabs(field.value) < kFastFormatLimit)) {
            fast = false;
            break;
        }
        if (out != buffer)
            AppendSeparator(out);
        AppendFixed(out, field.value, field.width, field.precision);
    }
    if (fast) {
        *out++ = '\n';
        return static_cast<std::size_t>(out - buffer);
    }
    const int length = std::snprintf(buffer, kWorldTableRowBufferBytes, kWorldTableRowFormat, row.latitude,
                                     row.altitude, row.stone, row.lalBe, row.lalAl, row.dunai, row.diffSL,
                                     row.diffSD, row.diffLD, row.maxDiff, row.percentS);
    return length < 0 ? 0 : std::min(static_cast<std::size_t>(length), kWorldTableRowBufferBytes - 1);
}

} // namespace qex
