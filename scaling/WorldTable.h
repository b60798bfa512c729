#pragma once
// The world scaling-factor table: the four scaling factors and their pairwise
// differences over a grid of latitudes and altitudes, written to a text file.
// The desktop command and qexcli world-table both write through WriteWorldTable.

#include "core/InputTable.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qex {

// The grid as typed: start and end in either order, steps as magnitudes.
struct WorldTableGrid {
    double startLatitude = 0.0;       // deg
    double endLatitude = 90.0;        // deg
    double latitudeInterval = 10.0;   // deg
    double startAltitude = 0.0;       // m
    double endAltitude = 8000.0;      // m
    double altitudeInterval = 1000.0; // m
    double muonFraction = 0.026;      // fraction of sea-level production due to muons
};

// The grid and the file it is written to, as the grid dialog and qexcli
// world-table take them; ranges in the table.
struct WorldTableInputs : WorldTableGrid {
    std::string outputFile;
};
const InputTable<WorldTableInputs>& WorldTableInputTable();

// Tables with more rows than this are worth a question before writing.
inline constexpr std::uint64_t kWorldTableConfirmRows = 10'000'000;

// The walk the table takes: each pair of bounds in ascending order, steps positive.
struct WorldTableWalk {
    double firstLatitude;
    double lastLatitude;
    double latitudeStep;
    double firstAltitude;
    double lastAltitude;
    double altitudeStep;
    double muonFraction;
};

WorldTableWalk SortWorldTableGrid(const WorldTableGrid& grid);

// The rows the grid gives: altitudes times latitudes, each walked by repeated
// addition of its step with both bounds inclusive, exactly as the writer walks.
std::uint64_t WorldTableRowCount(const WorldTableGrid& grid);

// About how many bytes the file will take (header plus rows of usual width).
std::uint64_t WorldTableApproximateBytes(const WorldTableGrid& grid);

// The question asked before a large table: its rows and approximate size.
std::string WorldTableSizeQuestion(std::uint64_t rows, std::uint64_t bytes);

// The header: title, [Calculation information] with the sorted grid, and the
// [Calculation Results] column heading.
std::string WorldTableHeader(const WorldTableWalk& walk);

enum class WorldTableOutcome {
    Written,     // the file is complete and in place
    CannotOpen,  // the path cannot be written; nothing changed
    Cancelled,   // the progress callback asked to stop; nothing changed
    WriteFailed, // a write failed (disk full...); nothing changed
};

// Called now and then while rows are written: (rows written, total rows).
// Returning false cancels the table.
using WorldTableProgress = std::function<bool(std::uint64_t rowsWritten, std::uint64_t totalRows)>;

// Writes the table to `path`, whole or not at all: into a temporary file beside
// it, renamed into place once complete, so that a cancelled or failed table
// leaves no file and leaves a previous file untouched. Shows
// "Can not find Output file!" when the path cannot be written or a write fails.
WorldTableOutcome WriteWorldTable(const WorldTableGrid& grid, const std::string& path,
                                  const WorldTableProgress& progress = {});

} // namespace qex
