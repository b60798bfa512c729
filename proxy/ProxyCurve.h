#pragma once
// A climatic proxy curve: points (year before present, proxy value) read from a
// "Proxy_Data" file, and the cut walk that splits the past into exposure
// stretches (the present's side of a cut value) and burial stretches.

#include <cstdint>
#include <string>
#include <vector>

namespace qex {

class CDataFileReader;

class CProxyCurve {
public:
    // Stores the path and loads the file at once; failures have been shown to
    // the user by the time construction returns.
    explicit CProxyCurve(std::string filePath);

    // Reads the file at `path`. 1 on success, 0 on failure (message shown, no points kept).
    int LoadFile();
    // Reads the curve from the bytes of a file, as LoadFile does; `path` is kept.
    int LoadText(std::string text);

    // Cuts the curve at proxy value `cut` for an exposure of `exposure` years.
    // Returns the year at which the walk ended, or -1.0 when there is no valid
    // result (the cut not strictly inside the value range, the cut equal to the
    // present's value, no curve loaded, years that do not ascend, or ages too
    // large for a double); on success sets crossings and the result fields.
    double CutAtValue(double cut, double exposure);

    // Cuts the curve at the value it has at `year` (years before present).
    // -1.0 with a message when the year lies outside the years of the file.
    double CutAtYear(double year, double exposure);

    // Averages consecutive points closer than kMinYearStep (pairwise, in order).
    void MergeCloseYears();
    // valueMin and valueMax from the points.
    void UpdateValueRange();

    // True when the last load succeeded (a loaded curve holds at least one point).
    bool IsLoaded() const { return pointCount > 0; }
    // True when every year of the file is at least the one before it (years
    // closer than kMinYearStep count as equal). The cuts need ascending years.
    bool IsAscending() const { return m_descendingLine == 0; }
    // The line of the first year below the one before it; 0 when the years ascend.
    int DescendingLine() const { return m_descendingLine; }

    // Consecutive years closer than this are one point (years).
    static constexpr double kMinYearStep = 0.001;
    // A first year above this gains a point at year 0 (years).
    static constexpr double kPresentYearTolerance = 0.01;

    std::vector<double> years;     // years before present, index 0 first
    std::vector<double> values;    // proxy values, parallel to years
    std::vector<double> crossings; // years where the last cut crosses the curve
    std::string path;              // the curve file
    std::string name;              // the one-word name from the header
    std::int32_t pointCount = 0;   // points after loading and merging
    double valueMin = 0.0;         // smallest proxy value
    double valueMax = 0.0;         // largest proxy value
    double yearMax = 0.0;          // largest year read from the file (years)
    double yearMin = 0.0;          // smallest year read from the file (years)
    double totalAge = 0.0;         // last cut: total age (years)
    double cutValue = 0.0;         // last cut: the cut value used
    double burialAge = 0.0;        // last cut: burial age (years)
    double exposureAge = 0.0;      // last cut: exposure age (years)

private:
    int Load(CDataFileReader& reader);
    // Forgets every point after a failed load.
    int FailLoad(const std::string& message, const std::string& detail = std::string());

    int m_descendingLine = 0;
};

} // namespace qex
