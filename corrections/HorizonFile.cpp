#include "corrections/HorizonFile.h"

#include "core/Format.h"
#include "core/Message.h"
#include "core/TextNumber.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <sys/stat.h>

namespace qex {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

void SkipBlanks(std::string_view text, std::size_t& i)
{
    while (i < text.size() && IsBlank(text[i]))
        ++i;
}

std::string_view ReadToken(std::string_view text, std::size_t& i)
{
    const std::size_t start = i;
    while (i < text.size() && !IsBlank(text[i]) && text[i] != ',')
        ++i;
    return text.substr(start, i - start);
}

// Why a number is refused, or an empty text.
std::string CheckValue(std::string_view token, const char* what, double maximum, double& value)
{
    if (!ParseNumber(token, value))
        return Format("the %s is not a number", what);
    if (value < 0.0 || value > maximum)
        return Format("the %s %.15g is outside the range 0 to %.15g", what, value, maximum);
    return std::string();
}

} // namespace

std::string ParseHorizonPoint(std::string_view text, HorizonPoint& point)
{
    const char* const expected = "expected an azimuth and an angle";
    std::size_t i = 0;
    SkipBlanks(text, i);
    const std::string_view azimuthText = ReadToken(text, i);
    SkipBlanks(text, i);
    if (i < text.size() && text[i] == ',') {
        ++i;
        SkipBlanks(text, i);
    }
    const std::string_view angleText = ReadToken(text, i);
    SkipBlanks(text, i);
    if (azimuthText.empty() || angleText.empty() || i != text.size())
        return expected;

    HorizonPoint parsed;
    std::string why = CheckValue(azimuthText, "azimuth", kMaxAzimuthDegrees, parsed.azimuth);
    if (why.empty())
        why = CheckValue(angleText, "angle", kMaxHorizonAngleDegrees, parsed.angle);
    if (why.empty())
        point = parsed;
    return why;
}

bool ParseHorizonText(std::string_view text, const std::string& sourceName, std::vector<HorizonPoint>& points)
{
    // A byte-order mark some editors put first.
    constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, byteOrderMark.size()) == byteOrderMark)
        text.remove_prefix(byteOrderMark.size());

    std::vector<HorizonPoint> read;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);

        line = line.substr(0, line.find('#'));
        std::size_t i = 0;
        SkipBlanks(line, i);
        if (i == line.size())
            continue;

        if (read.size() >= kMaxHorizonPoints) {
            ShowMessage(Format("Horizon file %s holds more than %zu points.", sourceName.c_str(), kMaxHorizonPoints));
            return false;
        }
        HorizonPoint point;
        const std::string why = ParseHorizonPoint(line, point);
        if (!why.empty()) {
            ShowMessage(Format("Horizon file %s, line %zu: %s.", sourceName.c_str(), lineNumber, why.c_str()));
            return false;
        }
        read.push_back(point);
    }
    points = std::move(read);
    return true;
}

bool ReadHorizonFile(const std::string& path, std::vector<HorizonPoint>& points)
{
    // Only a regular file: a folder cannot be read, and a pipe or a device
    // could block or never end.
    struct stat st {};
    int error = 0;
    if (::stat(path.c_str(), &st) != 0)
        error = errno;
    else if (!S_ISREG(st.st_mode))
        error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    if (error != 0) {
        ShowMessage(Format("Can not open horizon file %s!", path.c_str()), FileErrorDetail(path, error));
        return false;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        ShowMessage(Format("Can not open horizon file %s!", path.c_str()), FileErrorDetail(path, errno));
        return false;
    }
    std::string text;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        text.append(buffer, got);
    if (std::ferror(file.get())) {
        ShowMessage(Format("Can not read horizon file %s!", path.c_str()));
        return false;
    }
    return ParseHorizonText(text, path, points);
}

} // namespace qex
