// The simulation's own curve reader on any bytes; a curve that loads is
// walked at a few cut values with the dialog's default sample (with and
// without erosion), both ways of evaluating 10Be must agree, and the report
// lines must hold numbers.

#include "fuzz/FuzzSupport.h"
#include "proxy/BurialExposureWalk.h"
#include "proxy/SimulationCurve.h"
#include "proxy/SimulationReport.h"

#include <cmath>
#include <cstring>

using namespace qex;

namespace {

bool Same(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0 || (std::isnan(a) && std::isnan(b));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::DropMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SimulationCurve curve;
    std::string message;
    if (!LoadSimulationCurveText(fuzz::Text(data, size), curve, message)) {
        fuzz::Require(!message.empty(), "a failed load says why");
        return 0;
    }
    fuzz::Require(curve.years.size() >= 2 && curve.years.size() == curve.values.size() && curve.years[0] == 0.0,
                  "a loaded curve starts at the present and holds a point");
    for (std::size_t i = 1; i < curve.years.size(); ++i)
        fuzz::Require(curve.years[i] >= curve.years[i - 1], "the years ascend from 0");

    // Concentrations, production rates (atoms/g, atoms/g/yr), density, free
    // path, and the erosion rates (cm/yr): none, then some of each.
    const double erosion[][2] = {{0.0, 0.0}, {0.0005, 0.002}};
    for (const auto& e : erosion) {
        const SimulationParameters p =
            DeriveSimulationParameters(1165000.0, 12.7, 6216000.0, 77.7, 2.75, 150.0, e[0], e[1]);
        CBurialExposureWalk fast(curve, p, WalkEvaluation::Fast);
        CBurialExposureWalk reference(curve, p, WalkEvaluation::Straightforward);
        fast.SetQuiet(true);
        reference.SetQuiet(true);
        std::vector<CutHistory> histories;
        for (int k : {1, 250, 500, 750, kSimulationCutCount}) {
            HistoryRecord record;
            const CutHistory h = fast.Walk(k, &record);
            const CutHistory r = reference.Walk(k);
            fuzz::Require(Same(h.ratio, r.ratio) && Same(h.exposure, r.exposure) && Same(h.burial, r.burial) &&
                              Same(h.total, r.total) && h.cuttingNumber == r.cuttingNumber,
                          "both evaluations give the same history");
            fuzz::Require(h.cuttingNumber >= 0 && static_cast<std::size_t>(h.cuttingNumber) <= record.crossings.size(),
                          "the cutting ages are crossings of the history");
            fuzz::Require(std::isfinite(h.exposure) && std::isfinite(h.burial) && std::isfinite(h.total),
                          "a history's durations are numbers");
            histories.push_back(h);
        }
        fuzz::Require(fuzz::IsFiniteText(FormatSimulationReport(histories, p.measuredRatio, nullptr)),
                      "the report holds numbers");
    }
    return 0;
}
