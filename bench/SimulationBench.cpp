// The burial-exposure simulation: one engine run and the whole calculation
// with uncertainties (nine perturbed runs and the central run), each writing
// its report to a temporary file, on the 31-point alternating curve and on the
// bundled LR04 stack with the dialog's default sample.

#include "core/Concurrency.h"
#include "core/HeapRetention.h"
#include "core/ResultList.h"
#include "proxy/BurialExposureSimulation.h"
#include "proxy/SimulationCalculation.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// As the programs do: memory freed by one run is kept for the next.
const bool heapRetained = [] {
    qex::RetainFreedHeapMemory();
    return true;
}();

// A folder for the bench's files, removed at exit: under QEX_BENCH_DIR when
// set, else in memory (/dev/shm) where there is one, so that the figures are
// the program's and not the disk's (the atomic write syncs the report).
const std::string& ScratchDir()
{
    // Never destroyed, so the clean-up at exit can still read it.
    static const std::string* dir = [] {
        const char* chosen = std::getenv("QEX_BENCH_DIR");
        std::string base = chosen != nullptr ? chosen : (::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
        std::string pattern = base + "/qex-bench-XXXXXX";
        return new std::string(::mkdtemp(pattern.data()) != nullptr ? pattern : base);
    }();
    static const bool cleanUpAtExit = std::atexit([] {
        std::remove((*dir + "/alternating.dat").c_str());
        std::remove((*dir + "/report.txt").c_str());
        ::rmdir(dir->c_str());
    }) == 0;
    (void)cleanUpAtExit;
    return *dir;
}

// 31 points alternating between 3.0 and 5.0 every 20000 years, 0 to 600000.
std::string AlternatingCurve()
{
    static const std::string path = [] {
        const std::string file = ScratchDir() + "/alternating.dat";
        std::FILE* out = std::fopen(file.c_str(), "w");
        std::fprintf(out, "Proxy_Data\nAlternating\n");
        for (int i = 0; i <= 30; ++i)
            std::fprintf(out, "%d %s\n", i * 20000, i % 2 == 0 ? "3.0" : "5.0");
        std::fclose(out);
        return file;
    }();
    return path;
}

std::string Lr04Curve()
{
    return std::string(QEX_SOURCE_DIR) + "/examples/proxy/LR04.dat";
}

void EngineRun(benchmark::State& state, const std::string& curve)
{
    const qex::SimulationInputs sample;
    const std::string report = ScratchDir() + "/report.txt";
    for (auto _ : state) {
        double exposure = 0, burial = 0, total = 0, difference = 0, cut = 0, ratio = 0;
        std::vector<double> ages;
        int crossings = 0;
        const int ok = qex::SimulateBurialExposure(curve, report, sample.be10, sample.be10Production, sample.al26,
                                                   sample.al26Production, sample.density, sample.freePath, 0.0, 0.0,
                                                   exposure, burial, total, difference, cut, ages, crossings, ratio);
        if (ok != 1)
            state.SkipWithError("the run found no best fit");
        benchmark::DoNotOptimize(total);
    }
}

void CalculationWithUncertainties(benchmark::State& state, const std::string& curve)
{
    qex::SimulationInputs inputs;
    inputs.proxyFile = curve;
    inputs.outputFile = ScratchDir() + "/report.txt";
    for (auto _ : state) {
        qex::CResultList list;
        if (!qex::AppendSimulationWithUncertainties(inputs, list))
            state.SkipWithError("the calculation failed");
        benchmark::DoNotOptimize(list.m_nLineCount);
    }
}

void BM_EngineRunAlternating(benchmark::State& state)
{
    EngineRun(state, AlternatingCurve());
}
void BM_EngineRunLR04(benchmark::State& state)
{
    EngineRun(state, Lr04Curve());
}
// The same on this thread alone, as a run inside a batch or beside other work has it.
void BM_EngineRunLR04OneThread(benchmark::State& state)
{
    const qex::CSharedWorkThread alone;
    EngineRun(state, Lr04Curve());
}
void BM_TenRunsAlternating(benchmark::State& state)
{
    CalculationWithUncertainties(state, AlternatingCurve());
}
void BM_TenRunsLR04(benchmark::State& state)
{
    CalculationWithUncertainties(state, Lr04Curve());
}

// 1,000 Monte Carlo draws on LR04 with the dialog's default sample, on every core.
void BM_MonteCarlo1000LR04(benchmark::State& state)
{
    qex::SimulationInputs inputs;
    inputs.proxyFile = Lr04Curve();
    inputs.monteCarloDraws = 1000;
    for (auto _ : state) {
        qex::CResultList list;
        qex::MonteCarloResult result;
        if (!qex::AppendMonteCarlo(inputs, list, result))
            state.SkipWithError("the Monte Carlo failed");
        benchmark::DoNotOptimize(result.succeeded);
    }
}

BENCHMARK(BM_EngineRunAlternating)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineRunLR04)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineRunLR04OneThread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TenRunsAlternating)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TenRunsLR04)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MonteCarlo1000LR04)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
