#pragma once
// Positions of the geomagnetic pole through the past, and a site's
// geomagnetic latitude at the age of each record.

#include <string>
#include <vector>

namespace qex {

class CDataFileReader;

class CGeomagneticPoleData {
public:
    std::vector<double> years;                // record ages (years before present)
    std::vector<double> poleLatitudes;        // pole latitude of each record (degrees north)
    std::vector<double> poleLongitudes;       // pole longitude of each record (degrees east)
    std::vector<double> geomagneticLatitudes; // the site's geomagnetic latitude per record (degrees)
    std::string path;                         // the pole file
    std::string name;                         // the data name from the file header
    int pointCount = 0;                       // records after loading and merging
    double yearMax = -1.0;                    // largest age read from the file

    // Stores the path and loads the file at once; failures are shown as messages.
    explicit CGeomagneticPoleData(std::string path);

    // 1 on success, 0 on failure (the object then holds no records).
    int LoadFile();
    // Reads the records from the bytes of a file, as LoadFile does; `path` is kept.
    int LoadText(std::string text);
    // Appends the geomagnetic latitude of the site (degrees) for every record.
    void ComputeGeomagneticLatitudes(double siteLatitude, double siteLongitude);

    // Whether the construction's load succeeded.
    bool IsLoaded() const { return m_loaded; }

private:
    int Load(CDataFileReader& reader);
    void Clear();
    bool m_loaded = false;
};

} // namespace qex
