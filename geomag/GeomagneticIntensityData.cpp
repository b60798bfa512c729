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
    yearMax = -1.0;
    // The record before the first is taken as (0, 0), so a first age beyond
    // the gap limit gains a midpoint at half its age and half its intensity.
    double previousAge = 0.0;
    double previousIntensity = 0.0;
    const DataFileRead read = ReadDataFile(reader, "Geomagnetic_Intensity_Data", name, 2, [&](const double* record) {
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
        return true;
    });
    if (!DataFileReadDone(read, reader, "Geomagnetic Intensity file is not correct!", "an age and an intensity", path,
                          "Geomagnetic_Intensity_Data", name)) {
        Clear();
        return 0;
    }
    MergeCloseYears(years, {&intensities}, kCloseYears);
    pointCount = static_cast<int>(years.size());
    return 1;
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
