#include "scaling/WorldTableRow.h"

#include "core/Format.h"
#include "scaling/ScalingSchemes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qex {

namespace {

// Beyond this magnitude (or for NaN and infinities) the row goes through printf.
constexpr double kFastFormatLimit = 1e9;

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
        out = WriteFixed(out, buffer + kWorldTableRowBufferBytes, field.value, field.width, field.precision);
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
