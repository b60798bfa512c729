#pragma once
// A climatic proxy curve: points (year before present, proxy value) read from a
// "Proxy_Data" file, and the cut walk that splits the past into exposure
// stretches (the present's side of a cut value) and burial stretches.

#include "core/Constants.h"
#include "proxy/CurveOrientation.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qex {

class CDataFileReader;

enum class StretchKind { Exposure, Burial };

// One stretch of a history between two crossings (or the present, or the
// total age), years before present.
struct CutStretch {
    StretchKind kind = StretchKind::Exposure;
    double start = 0.0;
    double end = 0.0;
};

// Appends a stretch of positive length, joining it to the previous one when
// that is of the same kind and ends where it starts.
void AppendStretch(std::vector<CutStretch>& stretches, StretchKind kind, double start, double end);

class CProxyCurve {
public:
    // Stores the path and loads the file at once; failures have been shown to
    // the user by the time construction returns. With `negatedValues`, every
    // value is read negated (a curve where high means warm; proxy/CurveOrientation.h).
    explicit CProxyCurve(std::string filePath, bool negatedValues = false);

    // Reads the file at `path`. 1 on success, 0 on failure (message shown, no points kept).
    int LoadFile();
    // Reads the curve from the bytes of a file, as LoadFile does; `path` is kept.
    int LoadText(std::string text);

    // Cuts the curve at proxy value `cut` for an exposure of `exposure` years:
    // the walk from the present into the past, the present's side of the cut
    // counting as exposure. Returns the year at which the walk ended, or -1.0
    // when there is no valid result (the cut not strictly inside the value
    // range, the cut equal to the present's value, no curve loaded, years
    // that do not ascend, or ages too large for a double); on success sets
    // crossings, stretches and the result fields.
    double CutAtValue(double cut, double exposure);

    // Cuts the curve at the value it has at `year` (years before present).
    // -1.0 with a message when the year lies outside the years of the file.
    double CutAtYear(double year, double exposure);

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
    static constexpr double kMinYearStep = kSameAgeYears;
    // A first year above this gains a point at year 0 (years).
    static constexpr double kPresentYearTolerance = 0.01;

    std::vector<double> years;     // years before present, index 0 first
    std::vector<double> values;    // proxy values, parallel to years
    std::vector<double> crossings; // years where the last cut crosses the curve
    // The last cut's history from the present to the total age, youngest
    // first: the stretches the walk passed up to the end of the last exposure
    // it walked, and when the curve ended first the exposure still missing
    // after it. Their exposure adds up to exposureAge, their burial to burialAge.
    std::vector<CutStretch> stretches;
    std::string path;              // the curve file
    std::string name;              // the one-word name from the header
    bool negated = false;          // values (and cuts) are the file's negated
    std::int32_t pointCount = 0;   // points after loading and merging
    double valueMin = 0.0;         // smallest proxy value
    double valueMax = 0.0;         // largest proxy value
    double yearMax = 0.0;          // largest year read from the file (years)
    double yearMin = 0.0;          // smallest year read from the file (years)
    double totalAge = 0.0;         // last cut: total age (years)
    double cutValue = 0.0;         // last cut: the cut value used
    double burialAge = 0.0;        // last cut: burial age (years)
    double exposureAge = 0.0;      // last cut: exposure age (years)
    // Why the last cut gave no result, in the curve's own units ("6 is above
    // the curve's maximum 5.08"); empty after a result.
    std::string failure;

private:
    int Load(CDataFileReader& reader);
    // True when a curve is loaded with ascending years; otherwise says why not in `failure`.
    bool CanCut();
    // -1.0, the cut's no-result value, with why in `failure`.
    double NoResult(std::string why);
    // Forgets every point after a failed load.
    int FailLoad(const std::string& message, const std::string& detail = std::string());

    int m_descendingLine = 0;
};

} // namespace qex
