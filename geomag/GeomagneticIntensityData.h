#pragma once
// The relative strength of the Earth's field through the past (the present
// field is 1), with wide gaps given a midpoint and close records merged.

#include <string>
#include <vector>

namespace qex {

class CDataFileReader;

class CGeomagneticIntensityData {
public:
    std::vector<double> years;       // record ages (years before present)
    std::vector<double> intensities; // relative intensity of each record
    std::string path;                // the intensity file
    std::string name;                // the data name from the file header
    int pointCount = 0;              // records after loading, gap filling and merging
    double yearMax = -1.0;           // largest age read from the file (midpoints excluded)

    // Stores the path and loads the file at once; failures are shown as messages.
    explicit CGeomagneticIntensityData(std::string path);

    // 1 on success, 0 on failure (the object then holds no records and no name).
    int LoadFile();
    // Reads the records from the bytes of a file, as LoadFile does; `path` is kept.
    int LoadText(std::string text);
    // Writes the records in the file layout; 1 when written, 0 when the path
    // cannot be written ("Can not find this file!"; any earlier file is kept)
    // or when the ages go back somewhere (its gaps and merges mean nothing then).
    int SaveFile(std::string outputPath) const;

    // The text SaveFile writes.
    std::string FileText() const;

    bool IsLoaded() const { return m_loaded; }

    // The first line holding a negative value, 0 when none does. A climatic
    // curve may go below zero; a field intensity cannot, and the exposure age
    // refuses such records naming this line.
    int NegativeLine() const { return m_negativeLine; }
    double NegativeValue() const { return m_negativeValue; }
    // The first line whose age goes back from the one before, 0 when none does.
    int DescendingLine() const { return m_descendingLine; }

private:
    int Load(CDataFileReader& reader);
    void Clear();
    bool m_loaded = false;
    int m_negativeLine = 0;
    double m_negativeValue = 0.0;
    int m_descendingLine = 0;
};

} // namespace qex
