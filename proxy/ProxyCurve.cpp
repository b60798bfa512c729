#include "proxy/ProxyCurve.h"

#include "core/DataFileReader.h"
#include "core/Format.h"
#include "core/Interpolation.h"
#include "core/Message.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace qex {

namespace {

constexpr const char* kKeyword = "Proxy_Data";

std::string BadLineMessage(int line)
{
    return Format("Proxy data file is not correct: line %d does not hold a year and a proxy value!", line);
}

} // namespace

void AppendStretch(std::vector<CutStretch>& stretches, StretchKind kind, double start, double end)
{
    if (!(end > start))
        return;
    if (!stretches.empty() && stretches.back().kind == kind && stretches.back().end == start)
        stretches.back().end = end;
    else
        stretches.push_back({kind, start, end});
}

CProxyCurve::CProxyCurve(std::string filePath, bool negatedValues)
    : path(std::move(filePath)), negated(negatedValues)
{
    LoadFile();
}

int CProxyCurve::FailLoad(const std::string& message, const std::string& detail)
{
    years.clear();
    values.clear();
    pointCount = 0;
    m_descendingLine = 0;
    ShowMessage(message, detail);
    return 0;
}

int CProxyCurve::LoadFile()
{
    CDataFileReader reader;
    if (!reader.Open(path))
        return FailLoad(FileFailureText("Can not find Proxy data file!", reader.OpenError()), reader.OpenFailureDetail());
    return Load(reader);
}

int CProxyCurve::LoadText(std::string text)
{
    CDataFileReader reader;
    reader.OpenText(std::move(text));
    return Load(reader);
}

int CProxyCurve::Load(CDataFileReader& reader)
{
    years.clear();
    values.clear();
    pointCount = 0;
    m_descendingLine = 0;

    // Pairs "year value" to the end of the file, in any layout of white space.
    // A word that is not a number, or a year without its value, rejects the
    // file: a curve cut short would give plausible but wrong ages.
    const DataFileRead read = ReadDataFile(reader, kKeyword, name, 2, [&](const double* point) {
        // Years closer than kMinYearStep are one point, in either order.
        if (m_descendingLine == 0 && !years.empty() && years.back() - point[0] >= kMinYearStep)
            m_descendingLine = reader.ValueLine(0);
        years.push_back(point[0]);
        values.push_back(negated ? -point[1] : point[1]);
        return true;
    });
    if (read == DataFileRead::WrongKeyword)
        return FailLoad("Proxy data file is not correct!",
                        path.empty() ? std::string() : KeywordFailureDetail(path, name, kKeyword));
    if (read == DataFileRead::BadRecord)
        return FailLoad(BadLineMessage(reader.BadLine()));
    if (years.empty())
        return FailLoad("Proxy data are too little!");

    const std::size_t readCount = years.size();
    yearMin = years.front();
    yearMax = years.front();
    for (double year : years) {
        if (year > yearMax)
            yearMax = year;
        if (year < yearMin)
            yearMin = year;
    }

    MergeCloseYears(years, {&values}, kMinYearStep);

    // A curve starting after the present gains a point at year 0 on the straight
    // line through its first two points. Taken after merging, so that two first
    // ages closer than kMinYearStep cannot make the slope infinite.
    if (years.at(0) > kPresentYearTolerance && readCount >= 3 && years.size() >= 2) {
        const double slope = (values.at(1) - values.at(0)) / (years.at(1) - years.at(0));
        double presentValue = values.at(0) + slope * (0.0 - years.at(0));
        if (!std::isfinite(presentValue))
            presentValue = InterpolateWithoutOverflow(years.at(0), values.at(0), years.at(1), values.at(1), 0.0);
        if (!std::isfinite(presentValue))
            return FailLoad("Proxy data file is not correct: the value at year 0 lies beyond the range of numbers!");
        years.insert(years.begin(), 0.0);
        values.insert(values.begin(), presentValue);
    }
    pointCount = static_cast<std::int32_t>(years.size());

    UpdateValueRange();
    return 1;
}

void CProxyCurve::UpdateValueRange()
{
    if (pointCount < 1)
        return;
    valueMin = values.at(0);
    valueMax = values.at(0);
    for (std::int32_t i = 1; i < pointCount; ++i) {
        const double value = values.at(static_cast<std::size_t>(i));
        if (value > valueMax)
            valueMax = value;
        if (value < valueMin)
            valueMin = value;
    }
}

double CProxyCurve::NoResult(std::string why)
{
    failure = std::move(why);
    return -1.0;
}

bool CProxyCurve::CanCut()
{
    // Both cuts walk the years in order; years out of order give no result
    // (the caller says why) rather than a wrong one.
    if (!IsLoaded())
        NoResult("no proxy curve is loaded");
    else if (!IsAscending())
        NoResult(Format("the years do not ascend at line %d", m_descendingLine));
    else
        failure.clear();
    return failure.empty();
}

double CProxyCurve::CutAtYear(double year, double exposure)
{
    if (!CanCut())
        return -1.0;
    // Both bounds inclusive; a year that is not a number is out of range too.
    if (!(year >= yearMin && year <= yearMax)) {
        ShowMessage("The input year is out of the range of current proxy curve!");
        if (year > yearMax)
            return NoResult(Format("the year is beyond the curve's last year %.15g", yearMax));
        if (year < yearMin)
            return NoResult(Format("the year is before the curve's first year %.15g", yearMin));
        return NoResult("the year is not a number");
    }
    for (std::int32_t i = 0; i + 1 < pointCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const double y0 = years.at(at);
        const double y1 = years.at(at + 1);
        if (y0 <= year && year <= y1) {
            // Linear interpolation between the bracketing points.
            double value = values.at(at) + (values.at(at + 1) - values.at(at)) / (y1 - y0) * (year - y0);
            if (!std::isfinite(value))
                value = InterpolateWithoutOverflow(y0, values.at(at), y1, values.at(at + 1), year);
            return CutAtValue(value, exposure);
        }
    }
    // Only years out of order leave the year unbracketed.
    return NoResult("the year lies between years out of order");
}

double CProxyCurve::CutAtValue(double cut, double exposure)
{
    if (!CanCut())
        return -1.0;
    // Strictly inside the value range; a cut that is not a number is not.
    // Said in the curve's own units, where its maximum is its maximum.
    const double shown = CurveValue(cut, negated);
    const double lowest = negated ? CurveValue(valueMax, true) : valueMin;
    const double highest = negated ? CurveValue(valueMin, true) : valueMax;
    if (std::isnan(cut))
        return NoResult("the cut value is not a number");
    if (shown > highest)
        return NoResult(Format("%.15g is above the curve's maximum %.15g", shown, highest));
    if (shown == highest)
        return NoResult(Format("%.15g is the curve's maximum: a cut must lie below it", shown));
    if (shown < lowest)
        return NoResult(Format("%.15g is below the curve's minimum %.15g", shown, lowest));
    if (shown == lowest)
        return NoResult(Format("%.15g is the curve's minimum: a cut must lie above it", shown));
    // The present lies on the exposure side; a present exactly on the cut has no side.
    if (values.at(0) == cut)
        return NoResult(Format("%.15g is the curve's value at the present, which then lies on neither side", shown));

    crossings.clear();
    stretches.clear();
    cutValue = cut;
    const double side = values.at(0) > cut ? 1.0 : -1.0;
    using enum StretchKind;

    double exposed = 0.0;     // accumulated exposure A (years)
    double exposureEnd = 0.0; // R: end year of the last exposure stretch walked
    for (std::int32_t i = 1; i < pointCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const double y0 = years.at(at - 1);
        const double y1 = years.at(at);
        const double v0 = values.at(at - 1);
        const double v1 = values.at(at);
        // Positive on the exposure side; a point on the cut counts with exposure.
        const double p = side * (v0 - cut);
        const double q = side * (v1 - cut);
        if (p >= 0.0 && q < 0.0) {
            // Leaves the exposure side at the crossing year.
            const double crossing = CutCrossingYear(y0, v0, y1, v1, cut);
            exposed += crossing - y0;
            exposureEnd = crossing;
            if (exposed < exposure)
                crossings.push_back(crossing);
            AppendStretch(stretches, Exposure, y0, crossing);
            AppendStretch(stretches, Burial, crossing, y1);
        } else if (p < 0.0 && q >= 0.0) {
            // Returns to the exposure side, touching the cut included.
            const double crossing = CutCrossingYear(y0, v0, y1, v1, cut);
            exposed += y1 - crossing;
            crossings.push_back(crossing);
            exposureEnd = y1;
            AppendStretch(stretches, Burial, y0, crossing);
            AppendStretch(stretches, Exposure, crossing, y1);
        } else if (p >= 0.0 && q >= 0.0) {
            exposed += y1 - y0;
            exposureEnd = y1;
            AppendStretch(stretches, Exposure, y0, y1);
        } else {
            AppendStretch(stretches, Burial, y0, y1);
        }
        if (exposed > exposure)
            break;
    }

    // The excess exposure of the last stretch walked moves the total back to
    // the year at which the exposure equals the asked one.
    exposureAge = exposure;
    burialAge = exposureEnd - exposed;
    // Exposure plus burial, summed in this order: exposure + exposureEnd -
    // exposed loses the exposure against years near 1e297 and gives 0.
    // A curve from year 0 cannot expose more than the years it walked, so a
    // burial below 0 is rounding of such years; one starting before the
    // present (a negative year) would give a total below its exposure.
    if (burialAge < 0.0) {
        if (years.at(0) < 0.0)
            return NoResult(Format("the curve begins before the present, at year %.15g", years.at(0)));
        burialAge = 0.0;
    }
    totalAge = exposure + burialAge;
    // Years spanning more than a double holds (-1e308 to 1e308) overflow the
    // sums: no result rather than an infinite age.
    if (!std::isfinite(exposureEnd) || !std::isfinite(burialAge) || !std::isfinite(totalAge)) {
        stretches.clear();
        return NoResult("the ages are too large to add up");
    }

    // The history ends at the total age: inside the last exposure stretch
    // walked when the walk stopped there, or after it, by the exposure still
    // missing, when the curve ended first.
    const double kept = std::min(exposureEnd, totalAge);
    while (!stretches.empty() && stretches.back().start >= kept)
        stretches.pop_back();
    if (!stretches.empty())
        stretches.back().end = std::min(stretches.back().end, kept);
    AppendStretch(stretches, Exposure, exposureEnd, totalAge);
    return exposureEnd;
}

} // namespace qex
