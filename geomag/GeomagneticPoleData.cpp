#include "geomag/GeomagneticPoleData.h"

#include "core/Constants.h"
#include "core/DataFileReader.h"
#include "core/Format.h"
#include "core/Message.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>

namespace qex {

namespace {
constexpr double kCloseYears = kSameAgeYears; // records closer than this (years) are one
// A pole lies on the globe: latitudes to 90 degrees either way; longitudes
// east or west, either way round (so up to a full turn).
constexpr double kMaxPoleLatitude = 90.0;
constexpr double kMaxPoleLongitude = 360.0;
} // namespace

CGeomagneticPoleData::CGeomagneticPoleData(std::string filePath) : path(std::move(filePath))
{
    m_loaded = LoadFile() == 1;
}

void CGeomagneticPoleData::Clear()
{
    years.clear();
    poleLatitudes.clear();
    poleLongitudes.clear();
    pointCount = 0;
}

int CGeomagneticPoleData::LoadFile()
{
    Clear();
    CDataFileReader reader;
    if (!reader.Open(path)) {
        ShowMessage(FileFailureText("Can not find Geomagnetic Pole file!", reader.OpenError()), reader.OpenFailureDetail());
        m_loaded = false;
        return 0;
    }
    m_loaded = Load(reader) == 1;
    return m_loaded ? 1 : 0;
}

int CGeomagneticPoleData::LoadText(std::string text)
{
    CDataFileReader reader;
    reader.OpenText(std::move(text));
    m_loaded = Load(reader) == 1;
    return m_loaded ? 1 : 0;
}

int CGeomagneticPoleData::Load(CDataFileReader& reader)
{
    Clear();
    std::string keyword;
    if (!reader.ReadToken(keyword) || keyword != "Geomagnetic_Pole_Data") {
        ShowMessage("Geomagnetic Pole file is not correct!",
                    path.empty() ? std::string() : KeywordFailureDetail(path, keyword, "Geomagnetic_Pole_Data"));
        return 0;
    }
    name.clear();
    reader.ReadToken(name);
    yearMax = -1.0;
    double record[3];
    for (;;) {
        const auto status = reader.ReadRecord(record, 3);
        if (status == CDataFileReader::Record::End)
            break;
        if (status == CDataFileReader::Record::Bad) {
            Clear();
            ShowMessage(BadRecordMessage("Geomagnetic Pole file is not correct!", reader.BadLine(),
                                         "an age, a pole latitude and a pole longitude"));
            return 0;
        }
        // A pole off the globe is a broken file (often one whose name line
        // is missing, so that every number has moved one place along).
        std::string impossible;
        if (!(std::fabs(record[1]) <= kMaxPoleLatitude))
            impossible = Format("Line %d holds a pole latitude of %.15g, outside -90 to 90.", reader.ValueLine(1),
                                record[1]);
        else if (!(std::fabs(record[2]) <= kMaxPoleLongitude))
            impossible = Format("Line %d holds a pole longitude of %.15g, outside -360 to 360.", reader.ValueLine(2),
                                record[2]);
        if (!impossible.empty()) {
            Clear();
            ShowMessage("Geomagnetic Pole file is not correct! " + impossible);
            return 0;
        }
        years.push_back(record[0]);
        poleLatitudes.push_back(record[1]);
        poleLongitudes.push_back(record[2]);
        yearMax = std::max(yearMax, record[0]);
    }
    pointCount = static_cast<int>(years.size());
    MergeCloseYears();
    return 1;
}

void CGeomagneticPoleData::MergeCloseYears()
{
    // One pass: each record is compared with the last one kept. The first of a
    // run keeps its age; coordinates are averaged pairwise in order, longitudes
    // as plain numbers.
    std::size_t kept = 0;
    for (std::size_t i = 1; i < years.size(); ++i) {
        if (std::fabs(years[i] - years[kept]) < kCloseYears) {
            poleLatitudes[kept] = std::midpoint(poleLatitudes[kept], poleLatitudes[i]);
            poleLongitudes[kept] = std::midpoint(poleLongitudes[kept], poleLongitudes[i]);
        } else {
            ++kept;
            years[kept] = years[i];
            poleLatitudes[kept] = poleLatitudes[i];
            poleLongitudes[kept] = poleLongitudes[i];
        }
    }
    const std::size_t count = years.empty() ? 0 : kept + 1;
    years.resize(count);
    poleLatitudes.resize(count);
    poleLongitudes.resize(count);
    pointCount = static_cast<int>(count);
}

void CGeomagneticPoleData::ComputeGeomagneticLatitudes(double siteLatitude, double siteLongitude)
{
    const double phi = siteLatitude * kRadiansPerDegree;
    const double lambda = siteLongitude * kRadiansPerDegree;
    for (int i = 0; i < pointCount; ++i) {
        const double phiP = poleLatitudes.at(static_cast<std::size_t>(i)) * kRadiansPerDegree;
        const double lambdaP = poleLongitudes.at(static_cast<std::size_t>(i)) * kRadiansPerDegree;
        // Cosine of the angular distance between site and pole (spherical law of cosines).
        double c = std::sin(phiP) * std::sin(phi) +
                   std::cos(phiP) * std::cos(phi) * (std::cos(lambdaP) * std::cos(lambda) + std::sin(lambdaP) * std::sin(lambda));
        // Rounding can carry c a hair past 1 for a site at the pole; keep the arccosine defined.
        c = std::clamp(c, -1.0, 1.0);
        geomagneticLatitudes.push_back(90.0 - std::acos(c) * kDegreesPerRadian);
    }
}

} // namespace qex
