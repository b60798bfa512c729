// A field season: 200 samples through the simulation with uncertainties on
// the bundled LR04 stack, one thread and one per core (no reports, the
// output formatted in memory).

#include "batch/BatchRun.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

// 200 samples with 10Be from 0.4 to 2.2 million atoms/g and 26Al/10Be from 4.6 to 5.9.
std::string SeasonCsv()
{
    std::string csv = "sample,proxy,be10,be10-err,al26,al26-err\n";
    for (int i = 0; i < 200; ++i) {
        const double be10 = 400000.0 + 9000.0 * i;
        const double al26 = be10 * (4.6 + 0.0065 * i);
        csv += "S" + std::to_string(i) + "," QEX_SOURCE_DIR "/examples/proxy/LR04.dat," + std::to_string(be10) +
               "," + std::to_string(0.02 * be10) + "," + std::to_string(al26) + "," + std::to_string(0.025 * al26) +
               "\n";
    }
    return csv;
}

void BM_Batch200SimulationsOnLR04(benchmark::State& state)
{
    qex::BatchJob job;
    std::string error;
    if (!qex::OpenBatchText("simulate", SeasonCsv(), ".", job, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    for (auto _ : state) {
        const qex::BatchOutcome outcome = qex::RunBatch(job, static_cast<int>(state.range(0)), false);
        benchmark::DoNotOptimize(qex::FormatBatchCsv(job, outcome));
    }
}
BENCHMARK(BM_Batch200SimulationsOnLR04)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
