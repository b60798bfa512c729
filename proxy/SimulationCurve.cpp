#include "proxy/SimulationCurve.h"

#include "core/Format.h"
#include "core/TextNumber.h"

#include <cstdio>
#include <limits>
#include <string_view>
#include <sys/stat.h>

namespace qex {

namespace {

constexpr const char* kKeyword = "Proxy_Data";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Whitespace-separated tokens of a text, each with the line it stands on.
class CTokenReader {
public:
    explicit CTokenReader(std::string_view text) : m_text(text) {}

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

bool ReadWholeFile(const std::string& path, std::string& text)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

std::string NotTwoNumbers(int line)
{
    return Format("Proxy data file is not correct! Line %d does not hold two numbers.", line);
}

} // namespace

bool LoadSimulationCurve(const std::string& path, SimulationCurve& curve, std::string& message)
{
    curve = SimulationCurve();
    std::string text;
    if (!ReadWholeFile(path, text)) {
        message = "Can not find Proxy data file!";
        return false;
    }

    CTokenReader reader(text);
    std::string_view token;
    int line = 0;
    if (!reader.Next(token, line) || token != kKeyword) {
        message = "Proxy data file is not correct!";
        return false;
    }
    reader.Next(token, line); // the curve's name, not used here

    curve.years.push_back(0.0); // the present, filled in below
    curve.values.push_back(0.0);
    // The true extremes, whatever their size (a fixed starting value such as
    // -100000 would misreport a curve lying wholly beyond it).
    double valueMax = -std::numeric_limits<double>::infinity();
    double valueMin = std::numeric_limits<double>::infinity();
    std::string_view yearText;
    int yearLine = 0;
    while (reader.Next(yearText, yearLine)) {
        std::string_view valueText;
        int valueLine = 0;
        double year = 0.0;
        double value = 0.0;
        if (!ParseNumber(yearText, year)) {
            message = NotTwoNumbers(yearLine);
            return false;
        }
        if (!reader.Next(valueText, valueLine) || !ParseNumber(valueText, value)) {
            message = NotTwoNumbers(valueLine > 0 ? valueLine : yearLine);
            return false;
        }
        curve.years.push_back(year);
        curve.values.push_back(value);
        if (value > valueMax)
            valueMax = value;
        if (value < valueMin)
            valueMin = value;
    }
    if (curve.years.size() < 2) {
        curve = SimulationCurve();
        message = "Proxy data are too little!";
        return false;
    }

    // The present takes the curve's smallest value (the warmest state, so the
    // sample is exposed today) unless the file starts at year 0 itself.
    curve.values[0] = curve.years[1] > 0.0 ? valueMin : curve.values[1];
    curve.valueMax = valueMax;
    curve.valueMin = valueMin;
    for (std::size_t i = 1; i < curve.years.size(); ++i)
        if (curve.years[i] < curve.years[i - 1])
            curve.ascending = false;
    return true;
}

} // namespace qex
