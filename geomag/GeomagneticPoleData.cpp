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
    yearMax = -1.0;
    const DataFileRead read = ReadDataFile(reader, "Geomagnetic_Pole_Data", name, 3, [&](const double* record) {
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
            return false;
        }
        years.push_back(record[0]);
        poleLatitudes.push_back(record[1]);
        poleLongitudes.push_back(record[2]);
        yearMax = std::max(yearMax, record[0]);
        return true;
    });
    if (!DataFileReadDone(read, reader, "Geomagnetic Pole file is not correct!",
                          "an age, a pole latitude and a pole longitude", path, "Geomagnetic_Pole_Data", name)) {
        Clear();
        return 0;
    }
    // Longitudes are averaged as plain numbers.
    MergeCloseYears(years, {&poleLatitudes, &poleLongitudes}, kCloseYears);
    pointCount = static_cast<int>(years.size());
    return 1;
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
