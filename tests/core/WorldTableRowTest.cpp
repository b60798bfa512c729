// A world-table row's text is byte for byte what the C runtime's printf makes
// of the row format, for ordinary values, rounding ties, signs and the values
// that printf alone can handle.

#include "scaling/WorldTableRow.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace qex {
namespace {

std::string Printed(const WorldTableRow& row)
{
    char text[kWorldTableRowBufferBytes];
    const int length = std::snprintf(text, sizeof text, kWorldTableRowFormat, row.latitude, row.altitude, row.stone,
                                     row.lalBe, row.lalAl, row.dunai, row.diffSL, row.diffSD, row.diffLD,
                                     row.maxDiff, row.percentS);
    return std::string(text, static_cast<std::size_t>(length));
}

std::string Formatted(const WorldTableRow& row)
{
    char text[kWorldTableRowBufferBytes];
    return std::string(text, FormatWorldTableRow(row, text));
}

// Fills a row's eleven fields from a list of values, starting at `offset`, so
// that every value visits every field width and precision.
WorldTableRow RowFrom(const std::vector<double>& values, std::size_t offset)
{
    double v[11];
    for (std::size_t i = 0; i < 11; ++i)
        v[i] = values[(offset + i) % values.size()];
    return {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10]};
}

void ExpectAllRowsLikePrintf(const std::vector<double>& values)
{
    for (std::size_t offset = 0; offset < values.size(); ++offset) {
        const WorldTableRow row = RowFrom(values, offset);
        ASSERT_EQ(Formatted(row), Printed(row)) << "offset " << offset;
    }
}

TEST(WorldTableRow, OrdinaryValuesMatchPrintf)
{
    std::mt19937_64 random(20240501);
    std::uniform_real_distribution<double> latitude(-90.0, 90.0);
    std::uniform_real_distribution<double> altitude(0.0, 10000.0);
    std::uniform_real_distribution<double> factor(0.0, 300.0);
    std::uniform_real_distribution<double> small(0.0, 1.0);
    std::vector<double> values;
    for (int i = 0; i < 20000; ++i) {
        values.push_back(latitude(random));
        values.push_back(altitude(random));
        values.push_back(factor(random));
        values.push_back(small(random));
    }
    ExpectAllRowsLikePrintf(values);
}

TEST(WorldTableRow, TiesSignsCarriesAndWideValuesMatchPrintf)
{
    std::vector<double> values = {
        0.0,      -0.0,      -0.001,   -0.004999, 0.005,     0.125,    0.375,      2.675,  1.005,  0.00005,
        0.03125,  0.09375,   -0.125,   9.99999,   99.99995,  999.995,  0.99995,    -89.995, 89.995, 123456.789,
        -12345.6, 98765432.1, 1e-300, 5e-5,      -5e-5,     0.00015,  1234567.89, 10000.0, 90.0,   -90.0,
    };
    // Halfway points of both precisions and their neighbours on either side.
    for (int k = 0; k < 2000; ++k) {
        for (const double scale : {100.0, 10000.0}) {
            const double tie = (k + 0.5) / scale;
            values.push_back(tie);
            values.push_back(std::nextafter(tie, 0.0));
            values.push_back(std::nextafter(tie, 1e9));
            values.push_back(-tie);
        }
    }
    // Binary fractions fall exactly on ties: m / 2^j.
    for (int j = 3; j <= 12; ++j)
        for (int m = 1; m < 200; m += 2)
            values.push_back(std::ldexp(m, -j));
    ExpectAllRowsLikePrintf(values);
}

TEST(WorldTableRow, RowsOfAWholeGlobeMatchPrintf)
{
    for (double z = 0.0; z <= 10000.0; z += 500.0) {
        for (double latitude = -90.0; latitude <= 90.0; latitude += 0.125) {
            const WorldTableRow row = ComputeWorldTableRow(latitude, z, 1013.25 * std::exp(-z / 8400.0), 0.026);
            ASSERT_EQ(Formatted(row), Printed(row)) << latitude << " " << z;
        }
    }
}

TEST(WorldTableRow, ValuesOnlyPrintfCanTakeAreStillPrintedWhole)
{
    const double inf = std::numeric_limits<double>::infinity();
    ExpectAllRowsLikePrintf({1e12, 1.5, std::nan(""), 2.5, inf, -inf, 1e300, -1e200, 3.25, 7.0, 8.0});
}

} // namespace
} // namespace qex
