// The burial-exposure simulation: one engine run and the whole calculation
// with uncertainties (nine perturbed runs and the central run), each writing
// its report to a temporary file, on the 31-point alternating curve and on the
// bundled LR04 stack with the dialog's default sample.

#include "core/ResultList.h"
#include "proxy/BurialExposureSimulation.h"
#include "proxy/SimulationCalculation.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

// A folder for the bench's files, removed at exit.
const std::string& ScratchDir()
{
    static const std::string dir = [] {
        char pattern[] = "/tmp/qex-bench-XXXXXX";
        std::string made = ::mkdtemp(pattern) != nullptr ? pattern : "/tmp";
        std::atexit([] {
            std::remove((ScratchDir() + "/alternating.dat").c_str());
            std::remove((ScratchDir() + "/report.txt").c_str());
            ::rmdir(ScratchDir().c_str());
        });
        return made;
    }();
    return dir;
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
void BM_TenRunsAlternating(benchmark::State& state)
{
    CalculationWithUncertainties(state, AlternatingCurve());
}
void BM_TenRunsLR04(benchmark::State& state)
{
    CalculationWithUncertainties(state, Lr04Curve());
}

BENCHMARK(BM_EngineRunAlternating)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EngineRunLR04)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TenRunsAlternating)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TenRunsLR04)->Unit(benchmark::kMillisecond);

} // namespace
