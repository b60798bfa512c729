#pragma once
// One row of the world scaling-factor table: the four factors at a latitude
// and altitude, their pairwise differences, and the row's text.

#include <cstddef>

namespace qex {

// The row's line format; FormatWorldTableRow writes exactly what it prints.
inline constexpr const char* kWorldTableRowFormat =
    "%8.2f,  %8.2f,  %9.4f,  %9.4f,  %9.4f,  %9.4f,  %7.4f,  %7.4f,  %7.4f,  %8.4f,  %9.2f\n";

// Room for any row, whatever the values (a double's %f can take 300 digits).
inline constexpr std::size_t kWorldTableRowBufferBytes = 4096;

struct WorldTableRow {
    double latitude;  // deg
    double altitude;  // m
    double stone;     // Stone 2000, standard atmosphere
    double lalBe;     // Lal 1991, 10Be
    double lalAl;     // Lal 1991, 26Al
    double dunai;     // Dunai 2000
    double diffSL;    // |Stone - Lal Be|
    double diffSD;    // |Stone - Dunai|
    double diffLD;    // |Lal Be - Dunai|
    double maxDiff;   // the largest of the three differences
    double percentS;  // maxDiff relative to Stone, in percent
};

// The row for a latitude (deg) and altitude (m); `pressure` is the standard
// atmosphere's at that altitude (hPa), computed once per altitude by the caller.
WorldTableRow ComputeWorldTableRow(double latitude, double altitude, double pressure, double muonFraction);

// Writes the row's text, line end included, into `buffer` (at least
// kWorldTableRowBufferBytes long) and returns its length. Byte for byte the
// output of kWorldTableRowFormat, without printf's cost per row: the table can
// have a couple of thousand million rows.
std::size_t FormatWorldTableRow(const WorldTableRow& row, char* buffer);

} // namespace qex
