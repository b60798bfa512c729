// The cut-results curve reader on any bytes; a curve that loads is cut, by
// value and by year, as the cut results dialog does, and its lines checked.

#include "core/Format.h"
#include "fuzz/FuzzSupport.h"
#include "proxy/CutResults.h"
#include "proxy/ProxyCurve.h"

#include <cmath>
#include <numeric>

using namespace qex;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::DropMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CProxyCurve curve{std::string()}; // no file: the bytes are loaded below
    if (curve.LoadText(fuzz::Text(data, size)) != 1)
        return 0;
    fuzz::Require(curve.pointCount > 0 && curve.years.size() == static_cast<std::size_t>(curve.pointCount) &&
                      curve.values.size() == curve.years.size(),
                  "a loaded curve holds pointCount years and values");
    for (std::size_t i = 1; i < curve.years.size(); ++i)
        fuzz::Require(std::fabs(curve.years[i] - curve.years[i - 1]) >= CProxyCurve::kMinYearStep,
                      "close years are merged");
    fuzz::Require(curve.valueMin <= curve.valueMax, "the value range is ordered");

    // Cut values a user could type: finite, so a third of the way up is
    // taken without overflow on a curve spanning -1e308 to 1e308.
    const double values[] = {std::midpoint(curve.valueMin, curve.valueMax), curve.values.front(),
                             curve.values.back(), curve.valueMin + (curve.valueMax / 3.0 - curve.valueMin / 3.0)};
    const double years[] = {std::midpoint(curve.yearMin, curve.yearMax), curve.yearMin, curve.yearMax};
    for (double exposure : {0.0, 25000.0, 1e9}) {
        CResultList list;
        CutInputs in;
        in.exposureAge = exposure;
        in.cutByAge = false;
        for (double value : values) {
            in.cutValue = value;
            AppendCutResults(curve, in, list);
        }
        in.cutByAge = true;
        for (double year : years) {
            in.cutAge = year;
            AppendCutResults(curve, in, list);
        }
        for (const std::string& line : list.Lines())
            fuzz::Require(fuzz::IsFiniteText(line), "a result line holds no nan or inf");
    }
    return 0;
}
