#include "proxy/ProxyCurve.h"

#include "core/Format.h"
#include "core/Message.h"
#include "core/TextNumber.h"

#include <cmath>
#include <cstdio>
#include <memory>
#include <string_view>
#include <utility>

namespace qex {

namespace {

constexpr const char* kKeyword = "Proxy_Data";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The whole file, or false when it cannot be opened or read (a folder, say).
bool ReadWholeFile(const std::string& filePath, std::string& text)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(filePath.c_str(), "rb"), &std::fclose);
    if (!file)
        return false;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text.append(buffer, got);
    return std::ferror(file.get()) == 0;
}

// Whitespace-delimited words with the number of the line each starts on.
class CTokenReader {
public:
    explicit CTokenReader(std::string_view text) : m_text(text) {}

    // The next word, or false at the end of the text.
    bool Next(std::string_view& token, int& line)
    {
        while (m_pos < m_text.size() && IsBlank(m_text[m_pos])) {
            if (m_text[m_pos] == '\n')
                ++m_line;
            ++m_pos;
        }
        if (m_pos >= m_text.size())
            return false;
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && !IsBlank(m_text[m_pos]))
            ++m_pos;
        token = m_text.substr(start, m_pos - start);
        line = m_line;
        return true;
    }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
};

std::string BadLineMessage(int line)
{
    return Format("Proxy data file is not correct: line %d does not hold a year and a proxy value!", line);
}

} // namespace

CProxyCurve::CProxyCurve(std::string filePath) : path(std::move(filePath))
{
    LoadFile();
}

int CProxyCurve::FailLoad(const std::string& message)
{
    years.clear();
    values.clear();
    pointCount = 0;
    ShowMessage(message);
    return 0;
}

int CProxyCurve::LoadFile()
{
    years.clear();
    values.clear();
    pointCount = 0;

    std::string text;
    if (!ReadWholeFile(path, text))
        return FailLoad("Can not find Proxy data file!");

    CTokenReader reader(text);
    std::string_view token;
    int line = 0;
    if (!reader.Next(token, line) || token != kKeyword)
        return FailLoad("Proxy data file is not correct!");
    name = reader.Next(token, line) ? std::string(token) : std::string();

    // Pairs "year value" to the end of the file, in any layout of white space.
    // A word that is not a number, or a year without its value, rejects the
    // file: a curve cut short would give plausible but wrong ages.
    while (reader.Next(token, line)) {
        double year = 0.0;
        double value = 0.0;
        if (!ParseNumber(token, year))
            return FailLoad(BadLineMessage(line));
        int valueLine = line;
        if (!reader.Next(token, valueLine) || !ParseNumber(token, value))
            return FailLoad(BadLineMessage(valueLine));
        years.push_back(year);
        values.push_back(value);
    }
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

    pointCount = static_cast<std::int32_t>(years.size());
    MergeCloseYears();

    // A curve starting after the present gains a point at year 0 on the straight
    // line through its first two points. Taken after merging, so that two first
    // ages closer than kMinYearStep cannot make the slope infinite.
    if (years.at(0) > kPresentYearTolerance && readCount >= 3 && years.size() >= 2) {
        const double slope = (values.at(1) - values.at(0)) / (years.at(1) - years.at(0));
        const double presentValue = values.at(0) + slope * (0.0 - years.at(0));
        years.insert(years.begin(), 0.0);
        values.insert(values.begin(), presentValue);
    }
    pointCount = static_cast<std::int32_t>(years.size());

    UpdateValueRange();
    return 1;
}

void CProxyCurve::MergeCloseYears()
{
    std::int32_t j = 0;
    while (j < pointCount - 1) {
        const auto at = static_cast<std::size_t>(j);
        if (std::fabs(years.at(at + 1) - years.at(at)) < kMinYearStep) {
            // Pairwise in order: a, b, c become ((a + b) / 2 + c) / 2.
            values.at(at) = (values.at(at + 1) + values.at(at)) * 0.5;
            years.erase(years.begin() + static_cast<std::ptrdiff_t>(at) + 1);
            values.erase(values.begin() + static_cast<std::ptrdiff_t>(at) + 1);
            --pointCount;
        } else {
            ++j;
        }
    }
    pointCount = static_cast<std::int32_t>(years.size());
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

double CProxyCurve::CutAtYear(double year, double exposure)
{
    if (!IsLoaded())
        return -1.0;
    // Both bounds inclusive; a year that is not a number is out of range too.
    if (!(year >= yearMin && year <= yearMax)) {
        ShowMessage("The input year is out of the range of current proxy curve!");
        return -1.0;
    }
    for (std::int32_t i = 0; i + 1 < pointCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const double y0 = years.at(at);
        const double y1 = years.at(at + 1);
        if (y0 <= year && year <= y1) {
            // Linear interpolation between the bracketing points.
            const double value = values.at(at) + (values.at(at + 1) - values.at(at)) / (y1 - y0) * (year - y0);
            return CutAtValue(value, exposure);
        }
    }
    // Only years out of order leave the year unbracketed.
    return -1.0;
}

double CProxyCurve::CutAtValue(double cut, double exposure)
{
    if (!IsLoaded())
        return -1.0;
    // Strictly inside the value range; a cut that is not a number is not.
    if (!(cut > valueMin && cut < valueMax))
        return -1.0;
    // The present lies on the exposure side; a present exactly on the cut has no side.
    if (values.at(0) == cut)
        return -1.0;

    crossings.clear();
    cutValue = cut;
    const double side = values.at(0) > cut ? 1.0 : -1.0;

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
            const double crossing = y0 + (cut - v0) * (y1 - y0) / (v1 - v0);
            exposed += crossing - y0;
            exposureEnd = crossing;
            if (exposed < exposure)
                crossings.push_back(crossing);
        } else if (p < 0.0 && q >= 0.0) {
            // Returns to the exposure side, touching the cut included.
            const double crossing = y0 + (cut - v0) * (y1 - y0) / (v1 - v0);
            exposed += y1 - crossing;
            crossings.push_back(crossing);
            exposureEnd = y1;
        } else if (p >= 0.0 && q >= 0.0) {
            exposed += y1 - y0;
            exposureEnd = y1;
        }
        if (exposed > exposure)
            break;
    }

    // The excess exposure of the last stretch walked moves the total back to
    // the year at which the exposure equals the asked one.
    exposureAge = exposure;
    burialAge = exposureEnd - exposed;
    totalAge = exposure + exposureEnd - exposed;
    return exposureEnd;
}

} // namespace qex
