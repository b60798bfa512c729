#include "scaling/WorldTable.h"

#include "core/AtomicFile.h"
#include "core/Format.h"
#include "core/Message.h"
#include "scaling/ScalingSchemes.h"
#include "scaling/WorldTableRow.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace qex {

const InputTable<WorldTableInputs>& WorldTableInputTable()
{
    using In = WorldTableInputs;
    static const InputRow<In> rows[] = {
        {.name = "output", .controlId = 1027, .member = "m_strOutputFile", .label = "Table file to write",
         .kind = InputKind::FileToWrite, .field = &In::outputFile, .maxChars = 100, .required = true},
        {.name = "start-lat", .controlId = 1003, .member = "m_dStartLat", .label = "First latitude of the grid",
         .unit = "degrees", .field = &In::startLatitude, .range = InputRange{-90.0, 90.0}},
        {.name = "end-lat", .controlId = 1004, .member = "m_dEndLat", .label = "Last latitude of the grid",
         .unit = "degrees", .field = &In::endLatitude, .range = InputRange{-90.0, 90.0}},
        {.name = "lat-interval", .controlId = 1007, .member = "m_dLatInterval", .label = "Latitude step",
         .unit = "degrees", .field = &In::latitudeInterval, .range = InputRange{0.001, 90.0}},
        {.name = "start-alt", .controlId = 1005, .member = "m_dStartAlt", .label = "First altitude of the grid",
         .unit = "m", .field = &In::startAltitude, .range = InputRange{0.0, 10000.0}},
        {.name = "end-alt", .controlId = 1006, .member = "m_dEndAlt", .label = "Last altitude of the grid",
         .unit = "m", .field = &In::endAltitude, .range = InputRange{0.0, 10000.0}},
        {.name = "alt-interval", .controlId = 1008, .member = "m_dAltInterval", .label = "Altitude step",
         .unit = "m", .field = &In::altitudeInterval, .range = InputRange{1.0, 10000.0}},
        {.name = "muon", .controlId = 1009, .member = "m_dMuon", .label = "Muon contribution",
         .unit = "fraction", .boxUnit = "fraction 0–1", .field = &In::muonFraction,
         .range = InputRange{0.0, 1.0},
         .help = "share of sea-level production due to muons"},
    };
    static const InputTable<In> table(rows);
    return table;
}

namespace {

// A row's length when every number fits its field width.
constexpr std::uint64_t kUsualRowBytes = 121;
// Rows between two progress reports (and write-error checks).
constexpr std::uint64_t kRowsPerProgressReport = 4096;

// Visits first, first + step, first + step + step, ... while the value is not
// beyond last: repeated addition, both bounds inclusive. A step too small to
// move the running value ends the walk rather than repeating a value forever.
template <class Visit>
void ForEachInWalk(double first, double last, double step, Visit visit)
{
    if (!std::isfinite(first) || !std::isfinite(last))
        return;
    for (double value = first; value <= last;) {
        visit(value);
        const double next = value + step;
        if (!(next > value))
            break;
        value = next;
    }
}

std::vector<double> WalkValues(double first, double last, double step)
{
    std::vector<double> values;
    ForEachInWalk(first, last, step, [&](double value) { values.push_back(value); });
    return values;
}

std::uint64_t WalkLength(double first, double last, double step)
{
    std::uint64_t count = 0;
    ForEachInWalk(first, last, step, [&](double) { ++count; });
    return count;
}

std::string ReadableBytes(std::uint64_t bytes)
{
    static const char* const units[] = {"bytes", "KB", "MB", "GB", "TB", "PB"};
    double size = static_cast<double>(bytes);
    int unit = 0;
    while (size >= 1000.0 && unit < 5) {
        size /= 1000.0;
        ++unit;
    }
    return unit == 0 ? Format("%.0f %s", size, units[unit]) : Format("%.1f %s", size, units[unit]);
}

} // namespace

WorldTableWalk SortWorldTableGrid(const WorldTableGrid& grid)
{
    WorldTableWalk walk{};
    walk.latitudeStep = std::fabs(grid.latitudeInterval);
    walk.altitudeStep = std::fabs(grid.altitudeInterval);
    walk.muonFraction = grid.muonFraction;
    if (grid.startLatitude < grid.endLatitude) {
        walk.firstLatitude = grid.startLatitude;
        walk.lastLatitude = grid.endLatitude;
    } else {
        walk.firstLatitude = grid.endLatitude;
        walk.lastLatitude = grid.startLatitude;
    }
    if (grid.startAltitude < grid.endAltitude) {
        walk.firstAltitude = grid.startAltitude;
        walk.lastAltitude = grid.endAltitude;
    } else {
        walk.firstAltitude = grid.endAltitude;
        walk.lastAltitude = grid.startAltitude;
    }
    return walk;
}

std::uint64_t WorldTableRowCount(const WorldTableGrid& grid)
{
    const WorldTableWalk walk = SortWorldTableGrid(grid);
    return WalkLength(walk.firstLatitude, walk.lastLatitude, walk.latitudeStep) *
           WalkLength(walk.firstAltitude, walk.lastAltitude, walk.altitudeStep);
}

std::uint64_t WorldTableApproximateBytes(const WorldTableGrid& grid)
{
    return WorldTableHeader(SortWorldTableGrid(grid)).size() + WorldTableRowCount(grid) * kUsualRowBytes;
}

std::string WorldTableSizeQuestion(std::uint64_t rows, std::uint64_t bytes)
{
    return Format("This table has %s rows and will take about %s on disk.\nWrite it?", GroupThousands(rows).c_str(),
                  ReadableBytes(bytes).c_str());
}

std::string WorldTableHeader(const WorldTableWalk& walk)
{
    std::string header = "Scale Factor Calculation Results\n";
    header += "\n[Calculation information]\n";
    header += Format("Start Latitude    = %8.2f\n", walk.firstLatitude);
    header += Format("End   Latitude    = %8.2f\n", walk.lastLatitude);
    header += Format("Latitude Interval = %8.2f\n", walk.latitudeStep);
    header += Format("Start Altitude    = %8.2f\n", walk.firstAltitude);
    header += Format("End   Altitude    = %8.2f\n", walk.lastAltitude);
    header += Format("Altitude Interval = %8.2f\n", walk.altitudeStep);
    header += Format("Muon Contribution = %8.4f\n", walk.muonFraction);
    header += "\n[Calculation Results]\n";
    header += "Latitude,  Altitude,  Stone2000,  Lal1991Be,  Lal1991Al,  Dunai2000,  Diff_SL,  Diff_SD,  Diff_LD,  "
              "Max_Diff,  Percent_S\n";
    return header;
}

WorldTableOutcome WriteWorldTable(const WorldTableGrid& grid, const std::string& path,
                                  const WorldTableProgress& progress)
{
    CAtomicFile file(path, "Can not find Output file!");
    if (!file.Open())
        return WorldTableOutcome::CannotOpen;
    std::FILE* out = file.Stream();
    // Commit finds the failed write and says so, with the system's reason.
    auto failed = [&] {
        file.Commit();
        return WorldTableOutcome::WriteFailed;
    };

    const WorldTableWalk walk = SortWorldTableGrid(grid);
    const std::string header = WorldTableHeader(walk);
    if (std::fwrite(header.data(), 1, header.size(), out) != header.size())
        return failed();

    // Every altitude walks the same latitudes; walk them once.
    const std::vector<double> latitudes = WalkValues(walk.firstLatitude, walk.lastLatitude, walk.latitudeStep);
    const std::uint64_t totalRows =
        latitudes.size() * WalkLength(walk.firstAltitude, walk.lastAltitude, walk.altitudeStep);
    if (progress && !progress(0, totalRows)) {
        file.Discard();
        return WorldTableOutcome::Cancelled;
    }

    std::uint64_t written = 0;
    bool cancelled = false;
    bool writeError = false;
    char line[kWorldTableRowBufferBytes];
    ForEachInWalk(walk.firstAltitude, walk.lastAltitude, walk.altitudeStep, [&](double z) {
        if (cancelled || writeError)
            return;
        // The table always uses the standard atmosphere, south of -60 degrees too.
        const double pressure = StandardAtmospherePressure(z);
        for (const double latitude : latitudes) {
            const WorldTableRow row = ComputeWorldTableRow(latitude, z, pressure, walk.muonFraction);
            std::fwrite(line, 1, FormatWorldTableRow(row, line), out);
            if (++written % kRowsPerProgressReport == 0) {
                if (std::ferror(out)) {
                    writeError = true;
                    return;
                }
                if (progress && !progress(written, totalRows)) {
                    cancelled = true;
                    return;
                }
            }
        }
    });
    if (writeError || std::ferror(out))
        return failed();
    if (cancelled || (progress && !progress(written, totalRows))) {
        file.Discard();
        return WorldTableOutcome::Cancelled;
    }
    if (!file.Commit())
        return WorldTableOutcome::WriteFailed;
    return WorldTableOutcome::Written;
}

} // namespace qex
