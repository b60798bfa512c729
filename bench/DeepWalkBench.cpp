// The walks of one simulation run on deep curves: LR04 sampled at 100,000,
// 300,000 and 1,000,000 points by linear interpolation, so that every
// interglacial is a run of thousands of points below the cut. The 998 walks
// of the default sample on one thread; the time should grow with the points
// and no faster (each quiet run is looked through once per walk).

#include "core/DataFileReader.h"
#include "proxy/BurialExposureWalk.h"
#include "proxy/SimulationCalculation.h"
#include "proxy/SimulationCurve.h"
#include "proxy/SimulationParameters.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <string>

namespace {

// LR04 at `points` evenly spaced years from the present to its oldest year.
const qex::SimulationCurve& DeepCurve(int points)
{
    static std::map<int, qex::SimulationCurve> curves;
    auto found = curves.find(points);
    if (found != curves.end())
        return found->second;
    qex::CDataFileReader reader;
    std::vector<double> years, values;
    std::string token;
    if (reader.Open(std::string(QEX_SOURCE_DIR) + "/examples/proxy/LR04.dat") && reader.ReadToken(token) &&
        reader.ReadToken(token)) {
        double point[2];
        while (reader.ReadRecord(point, 2) == qex::CDataFileReader::Record::Read) {
            years.push_back(point[0]);
            values.push_back(point[1]);
        }
    }
    std::string text = "Proxy_Data\nDeep\n";
    std::size_t k = 0;
    for (int i = 0; i < points && years.size() >= 2; ++i) {
        const double year = years.back() * i / (points - 1);
        while (k + 2 < years.size() && years[k + 1] <= year)
            ++k;
        const double value = values[k] + (values[k + 1] - values[k]) * (year - years[k]) / (years[k + 1] - years[k]);
        text += std::to_string(year) + " " + std::to_string(value) + "\n";
    }
    std::string message;
    qex::SimulationCurve& curve = curves[points];
    qex::LoadSimulationCurveText(std::move(text), curve, message);
    return curve;
}

void BM_DeepWalks(benchmark::State& state)
{
    const qex::SimulationCurve& curve = DeepCurve(static_cast<int>(state.range(0)));
    if (curve.years.size() < 2) {
        state.SkipWithError("LR04 could not be read");
        return;
    }
    const qex::SimulationInputs sample;
    const qex::SimulationParameters parameters =
        qex::DeriveSimulationParameters(sample.be10, sample.be10Production, sample.al26, sample.al26Production,
                                        sample.density, sample.freePath, 0.0, 0.0);
    qex::CBurialExposureWalk walk(curve, parameters);
    walk.SetQuiet(true);
    for (auto _ : state) {
        double total = 0.0;
        for (int k = 1; k <= qex::kSimulationCutCount; ++k)
            total += walk.Walk(k).total;
        benchmark::DoNotOptimize(total);
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_DeepWalks)
    ->Arg(100000)
    ->Arg(300000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
