#include "geomag/GeomagneticIntensityData.h"

#include "core/AtomicFile.h"
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
constexpr double kWideGap = 501.0;    // a gap wider than this (years) gets one midpoint
} // namespace

CGeomagneticIntensityData::CGeomagneticIntensityData(std::string filePath) : path(std::move(filePath))
{
    m_loaded = LoadFile() == 1;
}

void CGeomagneticIntensityData::Clear()
{
    years.clear();
    intensities.clear();
    name.clear();
    pointCount = 0;
    m_negativeLine = 0;
    m_negativeValue = 0.0;
    m_descendingLine = 0;
}

int CGeomagneticIntensityData::LoadFile()
{
    Clear();
    CDataFileReader reader;
    if (!reader.Open(path)) {
        ShowMessage(FileFailureText("Can not find Geomagnetic Intensity file!", reader.OpenError()),
                    reader.OpenFailureDetail());
        m_loaded = false;
        return 0;
    }
    m_loaded = Load(reader) == 1;
    return m_loaded ? 1 : 0;
}

int CGeomagneticIntensityData::LoadText(std::string text)
{
    CDataFileReader reader;
    reader.OpenText(std::move(text));
    m_loaded = Load(reader) == 1;
    return m_loaded ? 1 : 0;
}

int CGeomagneticIntensityData::Load(CDataFileReader& reader)
{
    Clear();
    std::string keyword;
    if (!reader.ReadToken(keyword) || keyword != "Geomagnetic_Intensity_Data") {
        ShowMessage("Geomagnetic Intensity file is not correct!",
                    path.empty() ? std::string() : KeywordFailureDetail(path, keyword, "Geomagnetic_Intensity_Data"));
        return 0;
    }
    reader.ReadToken(name);
    yearMax = -1.0;
    // The record before the first is taken as (0, 0), so a first age beyond
    // the gap limit gains a midpoint at half its age and half its intensity.
    double previousAge = 0.0;
    double previousIntensity = 0.0;
    double record[2];
    for (;;) {
        const auto status = reader.ReadRecord(record, 2);
        if (status == CDataFileReader::Record::End)
            break;
        if (status == CDataFileReader::Record::Bad) {
            Clear();
            ShowMessage(BadRecordMessage("Geomagnetic Intensity file is not correct!", reader.BadLine(),
                                         "an age and an intensity"));
            return 0;
        }
        const double age = record[0];
        const double intensity = record[1];
        if (m_descendingLine == 0 && !years.empty() && years.back() - age >= kCloseYears)
            m_descendingLine = reader.ValueLine(0);
        if (intensity < 0.0 && m_negativeLine == 0) {
            m_negativeLine = reader.ValueLine(1);
            m_negativeValue = intensity;
        }
        if (age - previousAge > kWideGap) {
            // std::midpoint: (a + b) / 2 without overflow for ages near 1e308.
            years.push_back(std::midpoint(previousAge, age));
            intensities.push_back(std::midpoint(previousIntensity, intensity));
        }
        years.push_back(age);
        intensities.push_back(intensity);
        previousAge = age;
        previousIntensity = intensity;
        yearMax = std::max(yearMax, age);
    }
    pointCount = static_cast<int>(years.size());
    MergeCloseYears();
    return 1;
}

void CGeomagneticIntensityData::MergeCloseYears()
{
    // One pass: each record is compared with the last one kept; the first of a
    // run keeps its age and the intensities are averaged pairwise in order.
    std::size_t kept = 0;
    for (std::size_t i = 1; i < years.size(); ++i) {
        if (std::fabs(years[i] - years[kept]) < kCloseYears) {
            intensities[kept] = std::midpoint(intensities[kept], intensities[i]);
        } else {
            ++kept;
            years[kept] = years[i];
            intensities[kept] = intensities[i];
        }
    }
    const std::size_t count = years.empty() ? 0 : kept + 1;
    years.resize(count);
    intensities.resize(count);
    pointCount = static_cast<int>(count);
}

std::string CGeomagneticIntensityData::FileText() const
{
    std::string text = "Geomagnetic_Intensity_Data\n" + name + "\n";
    for (int i = 0; i < pointCount; ++i)
        text += Format("%10.1lf %10.3lf\n", years.at(static_cast<std::size_t>(i)),
                       intensities.at(static_cast<std::size_t>(i)));
    return text;
}

int CGeomagneticIntensityData::SaveFile(std::string outputPath) const
{
    if (m_descendingLine > 0) {
        ShowMessage(Format("Geomagnetic Intensity file is not correct! The ages go back at line %d.",
                           m_descendingLine));
        return 0;
    }
    return WriteFileAtomically(outputPath, FileText(), "Can not find this file!") ? 1 : 0;
}

} // namespace qex
