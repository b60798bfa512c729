// Writing the world scaling-factor table: rows per second for a table of a
// million rows, written to a temporary file.

#include "scaling/WorldTable.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace {

void BM_WorldTableMillionRows(benchmark::State& state)
{
    // 1000 latitudes (-90 to 34.875 by 0.125) by 1000 altitudes (0 to 9990 m
    // by 10 m); both steps are exact in binary, so the walks give exactly 1000.
    qex::WorldTableGrid grid;
    grid.startLatitude = -90.0;
    grid.endLatitude = 34.875;
    grid.latitudeInterval = 0.125;
    grid.startAltitude = 0.0;
    grid.endAltitude = 9990.0;
    grid.altitudeInterval = 10.0;
    const std::uint64_t rows = qex::WorldTableRowCount(grid);
    const std::string path =
        (std::filesystem::temp_directory_path() / ("qex-world-table-bench-" + std::to_string(::getpid()) + ".txt"))
            .string();
    for (auto _ : state) {
        if (qex::WriteWorldTable(grid, path) != qex::WorldTableOutcome::Written) {
            state.SkipWithError("the table could not be written");
            break;
        }
    }
    std::filesystem::remove(path);
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["rows_per_second"] =
        benchmark::Counter(static_cast<double>(rows) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WorldTableMillionRows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
