#include "proxy/SimulationCurve.h"

#include "core/DataFileReader.h"
#include "core/Format.h"
#include "core/Message.h"

#include <limits>
#include <utility>

namespace qex {

namespace {

constexpr const char* kKeyword = "Proxy_Data";

bool Load(CDataFileReader& reader, SimulationCurve& curve, std::string& message, bool negated,
          const std::string& path = std::string(), std::string* detail = nullptr)
{
    std::string token;
    if (!reader.ReadToken(token) || token != kKeyword) {
        message = "Proxy data file is not correct!";
        if (detail != nullptr && !path.empty())
            *detail = KeywordFailureDetail(path, token, kKeyword);
        return false;
    }
    reader.ReadToken(curve.name);

    curve.years.push_back(0.0); // the present, filled in below
    curve.values.push_back(0.0);
    // The true extremes, whatever their size (a fixed starting value such as
    // -100000 would misreport a curve lying wholly beyond it).
    double valueMax = -std::numeric_limits<double>::infinity();
    double valueMin = std::numeric_limits<double>::infinity();
    double point[2];
    for (;;) {
        const auto status = reader.ReadRecord(point, 2);
        if (status == CDataFileReader::Record::End)
            break;
        if (status == CDataFileReader::Record::Bad) {
            message = Format("Proxy data file is not correct! Line %d does not hold two numbers.", reader.BadLine());
            return false;
        }
        // The walk runs from the present into the past: a year before the
        // previous one (or before the present) would make it count time
        // backwards and give ages that look right but are not.
        if (point[0] < curve.years.back()) {
            message = Format("Proxy data file is not correct! The years do not ascend from 0 at line %d.",
                             reader.ValueLine(0));
            return false;
        }
        if (negated)
            point[1] = -point[1];
        curve.years.push_back(point[0]);
        curve.values.push_back(point[1]);
        curve.lastLine = reader.ValueLine(0);
        if (point[1] > valueMax)
            valueMax = point[1];
        if (point[1] < valueMin)
            valueMin = point[1];
    }
    if (curve.years.size() < 2) {
        message = "Proxy data are too little!";
        return false;
    }

    // The present takes the curve's smallest value (the warmest state, so the
    // sample is exposed today) unless the file starts at year 0 itself.
    curve.values[0] = curve.years[1] > 0.0 ? valueMin : curve.values[1];
    curve.valueMax = valueMax;
    curve.valueMin = valueMin;
    curve.ascending = true;
    curve.negated = negated;
    return true;
}

} // namespace

bool LoadSimulationCurve(const std::string& path, SimulationCurve& curve, std::string& message,
                         std::string* detail, bool negated)
{
    curve = SimulationCurve();
    CDataFileReader reader;
    if (!reader.Open(path)) {
        message = FileFailureText("Can not find Proxy data file!", reader.OpenError());
        if (detail != nullptr)
            *detail = reader.OpenFailureDetail();
        return false;
    }
    if (!Load(reader, curve, message, negated, path, detail)) {
        curve = SimulationCurve();
        return false;
    }
    return true;
}

std::string YearsBeyondMessage(const SimulationCurve& curve, double oldest)
{
    if (curve.years.empty() || !(curve.years.back() > oldest))
        return std::string();
    return Format("Proxy data file is not correct! Line %d holds the year %g, older than the Earth (%g years).",
                  curve.lastLine, curve.years.back(), oldest);
}

bool LoadSimulationCurveText(std::string text, SimulationCurve& curve, std::string& message, bool negated)
{
    curve = SimulationCurve();
    CDataFileReader reader;
    reader.OpenText(std::move(text));
    if (!Load(reader, curve, message, negated)) {
        curve = SimulationCurve();
        return false;
    }
    return true;
}

} // namespace qex
